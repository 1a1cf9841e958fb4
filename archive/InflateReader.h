#pragma once

#include <QIODevice>

#include <vector>

#include <zlib.h>

namespace kb {

// Inflates a zlib stream that starts at the source device's current position, reading the source
// through an input buffer of 64 KiB (so it may read past the stream's end).
class InflateReader
{
public:
    explicit InflateReader(QIODevice &source);
    ~InflateReader();
    InflateReader(const InflateReader &) = delete;
    InflateReader &operator=(const InflateReader &) = delete;

    // Fills data with exactly size bytes; false when the stream is broken or ends before.
    bool readExactly(char *data, qint64 size);

private:
    QIODevice &m_source;
    std::vector<Bytef> m_buffer;
    z_stream m_stream{};
    bool m_ok = false;
};

} // namespace kb
