#pragma once

#include <QIODevice>

#include <functional>
#include <vector>

#include <zlib.h>

namespace kb {

// Compresses what is written to it into a zlib stream (window bits 15, memory level 8, default
// strategy) on a target device, through an output buffer of 64 KiB. Every call reports failure by
// returning false; the target then holds an incomplete stream.
class DeflateWriter
{
public:
    // onBufferFull receives the number of bytes consumed so far each time the output buffer has
    // filled while data is being written (not while the stream is finished).
    DeflateWriter(QIODevice &target, int zlibLevel, std::function<void(qint64)> onBufferFull = {});
    ~DeflateWriter();
    DeflateWriter(const DeflateWriter &) = delete;
    DeflateWriter &operator=(const DeflateWriter &) = delete;

    bool write(const char *data, qint64 size);
    bool finish();

private:
    bool flushBuffer();

    QIODevice &m_target;
    std::function<void(qint64)> m_onBufferFull;
    std::vector<Bytef> m_buffer;
    z_stream m_stream{};
    bool m_ok = false;
};

} // namespace kb
