// Where the JPEG compression writes: memory that grows as the picture does
// and stays the caller's when libjpeg fails halfway.

#include "HbToolsPicture.h"
#include "JpegMemoryDestination.h"

#include "TestSupport.h"

#include <QImage>
#include <QRandomGenerator>

#include <csetjmp>
#include <optional>

using namespace vocab;

namespace {

// Noise compresses badly, so its picture is many times the first buffer.
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < width * 3; ++x)
            line[x] = static_cast<uchar>(random.bounded(256));
    }
    return image;
}

struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Errors *>(info->err)->back, 1);
}

// Compresses `rows` rows of the picture and then finishes, which libjpeg
// refuses when rows are missing. Whether it finished; nothing here has a
// destructor for the jump back to skip.
bool compressRows(const QImage &rgb, int rows, JpegMemoryDestination *&destination, std::optional<JpegMemoryDestination> &holder)
{
    Errors errors{};
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    destination = &holder.emplace(&info);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (static_cast<int>(info.next_scanline) < rows) {
        JSAMPROW row = const_cast<JSAMPLE *>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

TEST(JpegOutput, APictureManyTimesTheFirstBufferComesOutWhole)
{
    const QImage picture = noise(400, 300);
    const QByteArray bytes = HbTools::EncodeJpeg(picture, 90);
    EXPECT_GT(bytes.size(), qsizetype(8 * JpegMemoryDestination::InitialSize)) << "the buffer grew several times";
    const QImage decoded = QImage::fromData(bytes, "JPEG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), picture.size());
    EXPECT_TRUE(bytes.endsWith("\xFF\xD9")) << "the end-of-picture mark";
}

TEST(JpegOutput, AFailureAfterTheBufferGrewLeavesTheBytesWrittenTheCallers)
{
    const QImage picture = noise(400, 300);
    std::optional<JpegMemoryDestination> holder;
    JpegMemoryDestination *destination = nullptr;
    EXPECT_FALSE(compressRows(picture, 150, destination, holder)) << "too few rows";
    ASSERT_NE(destination, nullptr);
    EXPECT_GT(destination->capacity(), JpegMemoryDestination::InitialSize);
    const QByteArray written = destination->bytes();
    EXPECT_GT(written.size(), qsizetype(JpegMemoryDestination::InitialSize));
    EXPECT_TRUE(written.startsWith("\xFF\xD8\xFF")) << "the bytes of before the failure are still there";

    JpegMemoryDestination *whole = nullptr;
    std::optional<JpegMemoryDestination> wholeHolder;
    ASSERT_TRUE(compressRows(picture, picture.height(), whole, wholeHolder));
    EXPECT_EQ(QImage::fromData(whole->bytes(), "JPEG").size(), picture.size());
    EXPECT_TRUE(whole->bytes().startsWith(written.left(600))) << "the same picture, begun the same way";
}
