#pragma once

#include <QByteArray>
#include <QtEndian>

#include <bit>

// Bounds-checked reads of little-endian values from a block of bytes: a file held in memory, or one
// record of it. Every binary format the program reads (metafiles, bitmap headers, WAVE files) is
// little-endian. A read outside the block gives 0 and marks the reader as failed, so a parser reads
// a whole header first and then checks `ok()` once. The reader keeps a pointer, not a copy: the
// bytes must outlive it.
class LittleEndianReader
{
public:
    LittleEndianReader(const char *data, qsizetype size)
        : m_data(data)
        , m_size(size)
    {
    }
    explicit LittleEndianReader(const QByteArray &bytes)
        : LittleEndianReader(bytes.constData(), bytes.size())
    {
    }

    qsizetype size() const { return m_size; }
    const char *data() const { return m_data; }
    bool ok() const { return m_ok; }
    // Whether the bytes [offset, offset + length) all lie inside; never overflows.
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }

    quint8 u8(qsizetype offset) { return read<quint8>(offset); }
    quint16 u16(qsizetype offset) { return read<quint16>(offset); }
    qint16 i16(qsizetype offset) { return read<qint16>(offset); }
    quint32 u32(qsizetype offset) { return read<quint32>(offset); }
    qint32 i32(qsizetype offset) { return read<qint32>(offset); }
    float f32(qsizetype offset) { return std::bit_cast<float>(read<quint32>(offset)); }

    // The bytes [offset, offset + length), or null (and failed) if they are not all inside.
    const char *bytes(qsizetype offset, qsizetype length)
    {
        if (!has(offset, length)) {
            m_ok = false;
            return nullptr;
        }
        return m_data + offset;
    }

private:
    template <typename T> T read(qsizetype offset)
    {
        if (!has(offset, sizeof(T))) {
            m_ok = false;
            return T();
        }
        return qFromLittleEndian<T>(m_data + offset);
    }

    const char *m_data;
    qsizetype m_size;
    bool m_ok = true;
};
