#include "InflateReader.h"

#include <algorithm>
#include <limits>

namespace kb {

namespace {
constexpr int BufferSize = 64 * 1024;
}

InflateReader::InflateReader(QIODevice &source) : m_source(source), m_buffer(BufferSize)
{
    m_ok = inflateInit(&m_stream) == Z_OK;
}

InflateReader::~InflateReader()
{
    inflateEnd(&m_stream);
}

bool InflateReader::readExactly(char *data, qint64 size)
{
    while (m_ok && size > 0) {
        if (m_stream.avail_in == 0) {
            const qint64 got = m_source.read(reinterpret_cast<char *>(m_buffer.data()), BufferSize);
            if (got <= 0)
                return m_ok = false;
            m_stream.next_in = m_buffer.data();
            m_stream.avail_in = uInt(got);
        }
        const uInt wanted = uInt(std::min<qint64>(size, std::numeric_limits<uInt>::max()));
        m_stream.next_out = reinterpret_cast<Bytef *>(data);
        m_stream.avail_out = wanted;
        const int status = inflate(&m_stream, Z_NO_FLUSH);
        const qint64 produced = wanted - m_stream.avail_out;
        data += produced;
        size -= produced;
        m_ok = status == Z_OK || (status == Z_STREAM_END && size == 0);
    }
    return m_ok;
}

} // namespace kb
