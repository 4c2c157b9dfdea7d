#pragma once

#include <QByteArray>
#include <QtEndian>

#include <initializer_list>

// Numbers as the binary files the program reads (WAVE, BMP, WMF, EMF) store them: low byte first.
template <typename T> QByteArray littleEndian(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray le16(quint16 value)
{
    return littleEndian(value);
}

inline QByteArray le32(quint32 value)
{
    return littleEndian(value);
}

// 32-bit numbers one after the other.
inline QByteArray le32(std::initializer_list<qint32> values)
{
    QByteArray bytes;
    for (const qint32 value : values) {
        bytes += littleEndian(value);
    }
    return bytes;
}

// `data` with the bytes at `offset` replaced by those of `value` (as many as its type has).
template <typename T> QByteArray patched(QByteArray data, int offset, T value)
{
    qToLittleEndian(value, data.data() + offset);
    return data;
}
