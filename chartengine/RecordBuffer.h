#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>

namespace kb {

// Little-endian bytes of a metafile record, with the means to patch sizes and counts written
// before they are known.
class RecordBuffer
{
public:
    qsizetype size() const { return m_bytes.size(); }
    const QByteArray &bytes() const { return m_bytes; }

    void u8(quint8 value) { m_bytes.append(char(value)); }
    void u16(quint16 value) { append(qToLittleEndian(value)); }
    void i16(qint16 value) { append(qToLittleEndian(value)); }
    void u32(quint32 value) { append(qToLittleEndian(value)); }
    void i32(qint32 value) { append(qToLittleEndian(value)); }
    void f32(float value) { append(qToLittleEndian(value)); }
    void raw(const QByteArray &bytes) { m_bytes.append(bytes); }
    void zeros(qsizetype count) { m_bytes.append(count, '\0'); }
    void padTo(qsizetype multiple)
    {
        while (m_bytes.size() % multiple)
            m_bytes.append('\0');
    }
    void patchU32(qsizetype at, quint32 value) { qToLittleEndian(value, m_bytes.data() + at); }
    void patchU16(qsizetype at, quint16 value) { qToLittleEndian(value, m_bytes.data() + at); }

private:
    template <typename T>
    void append(T value)
    {
        m_bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
    }

    QByteArray m_bytes;
};

} // namespace kb
