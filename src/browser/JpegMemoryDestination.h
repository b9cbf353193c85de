#pragma once

// Where libjpeg writes a compressed picture: memory of our own, grown as the
// compression goes. libjpeg's own memory destination moves its buffer as it
// grows and tells the caller where only once the picture is finished, so a
// compression that fails after a growth would leave the caller holding
// memory already freed; here the bytes stay ours whatever libjpeg does, and
// go with the object.

#include <QByteArray>

#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE
#include <vector>

#include <jpeglib.h>

namespace vocab {

class JpegMemoryDestination {
public:
    // Becomes the destination of `info` until the compression is destroyed;
    // the object must outlive that.
    explicit JpegMemoryDestination(j_compress_ptr info);
    JpegMemoryDestination(const JpegMemoryDestination &) = delete;
    JpegMemoryDestination &operator=(const JpegMemoryDestination &) = delete;

    // The bytes written so far: the whole picture once it is finished.
    QByteArray bytes() const;
    // The memory held for the bytes, written or not.
    std::size_t capacity() const { return m_buffer.size(); }

    static constexpr std::size_t InitialSize = 4096;

private:
    static void initDestination(j_compress_ptr info);
    static boolean emptyOutputBuffer(j_compress_ptr info);
    static void termDestination(j_compress_ptr info);
    static JpegMemoryDestination &of(j_compress_ptr info);

    // First, so that libjpeg's pointer to it is one to the object.
    jpeg_destination_mgr m_manager{};
    std::vector<JOCTET> m_buffer;
};

} // namespace vocab
