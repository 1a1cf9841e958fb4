#include "DeflateWriter.h"

#include <algorithm>

namespace kb {

namespace {
constexpr int BufferSize = 64 * 1024;
constexpr int WindowBits = 15;
constexpr int MemoryLevel = 8;
}

DeflateWriter::DeflateWriter(QIODevice &target, int zlibLevel, std::function<void(qint64)> onBufferFull)
    : m_target(target), m_onBufferFull(std::move(onBufferFull)), m_buffer(BufferSize)
{
    m_ok = deflateInit2(&m_stream, zlibLevel, Z_DEFLATED, WindowBits, MemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK;
    m_stream.next_out = m_buffer.data();
    m_stream.avail_out = BufferSize;
}

DeflateWriter::~DeflateWriter()
{
    deflateEnd(&m_stream);
}

bool DeflateWriter::flushBuffer()
{
    const qint64 filled = BufferSize - m_stream.avail_out;
    m_ok = m_ok && m_target.write(reinterpret_cast<const char *>(m_buffer.data()), filled) == filled;
    m_stream.next_out = m_buffer.data();
    m_stream.avail_out = BufferSize;
    return m_ok;
}

bool DeflateWriter::write(const char *data, qint64 size)
{
    while (m_ok && size > 0) {
        const uInt portion = uInt(std::min<qint64>(size, BufferSize));
        m_stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        m_stream.avail_in = portion;
        while (m_ok && m_stream.avail_in > 0) {
            m_ok = deflate(&m_stream, Z_NO_FLUSH) == Z_OK;
            if (m_ok && m_stream.avail_out == 0 && flushBuffer() && m_onBufferFull)
                m_onBufferFull(qint64(m_stream.total_in));
        }
        data += portion;
        size -= portion;
    }
    return m_ok;
}

bool DeflateWriter::finish()
{
    int status = Z_OK;
    while (m_ok && status == Z_OK) {
        status = deflate(&m_stream, Z_FINISH);
        m_ok = status == Z_OK || status == Z_STREAM_END;
        flushBuffer();
    }
    return m_ok;
}

} // namespace kb
