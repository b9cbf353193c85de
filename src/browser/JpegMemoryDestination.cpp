#include "JpegMemoryDestination.h"

#include <jerror.h>

#include <new>

namespace vocab {

namespace {

// libjpeg's own way out, as its memory manager takes it.
void outOfMemory(j_compress_ptr info, int where)
{
    info->err->msg_code = JERR_OUT_OF_MEMORY;
    info->err->msg_parm.i[0] = where;
    info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
}

} // namespace

JpegMemoryDestination::JpegMemoryDestination(j_compress_ptr info)
{
    m_manager.init_destination = &JpegMemoryDestination::initDestination;
    m_manager.empty_output_buffer = &JpegMemoryDestination::emptyOutputBuffer;
    m_manager.term_destination = &JpegMemoryDestination::termDestination;
    info->dest = &m_manager;
}

QByteArray JpegMemoryDestination::bytes() const
{
    return QByteArray(reinterpret_cast<const char *>(m_buffer.data()),
                      static_cast<qsizetype>(m_buffer.size() - m_manager.free_in_buffer));
}

JpegMemoryDestination &JpegMemoryDestination::of(j_compress_ptr info)
{
    // The manager is the object's first member.
    return *reinterpret_cast<JpegMemoryDestination *>(info->dest);
}

void JpegMemoryDestination::initDestination(j_compress_ptr info)
{
    JpegMemoryDestination &self = of(info);
    bool failed = false;
    try {
        self.m_buffer.assign(InitialSize, 0);
    } catch (const std::bad_alloc &) {
        failed = true;
    }
    // Outside the handler: the error jumps back over this frame.
    if (failed) {
        outOfMemory(info, 0);
        return;
    }
    self.m_manager.next_output_byte = self.m_buffer.data();
    self.m_manager.free_in_buffer = self.m_buffer.size();
}

// Called with the buffer full: it doubles, the bytes written kept.
boolean JpegMemoryDestination::emptyOutputBuffer(j_compress_ptr info)
{
    JpegMemoryDestination &self = of(info);
    const std::size_t used = self.m_buffer.size();
    bool failed = false;
    try {
        self.m_buffer.resize(used * 2);
    } catch (const std::bad_alloc &) {
        failed = true;
    }
    if (failed) {
        outOfMemory(info, 1);
        return FALSE;
    }
    self.m_manager.next_output_byte = self.m_buffer.data() + used;
    self.m_manager.free_in_buffer = self.m_buffer.size() - used;
    return TRUE;
}

void JpegMemoryDestination::termDestination(j_compress_ptr)
{
    // The bytes are those before the free part of the buffer; nothing to do.
}

} // namespace vocab
