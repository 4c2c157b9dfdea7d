#include "metafileplayer.h"

#include <QBuffer>
#include <QImageReader>

namespace Metafile {

namespace {

constexpr quint32 BiRgb = 0;
constexpr quint32 BiRle8 = 1;
constexpr quint32 BiRle4 = 2;
constexpr quint32 BiBitfields = 3;
constexpr quint32 BiJpeg = 4;
constexpr quint32 BiPng = 5;

struct DibLayout
{
    qint64 width = 0;
    qint64 height = 0; // negative: rows top to bottom
    int bitCount = 0;
    quint32 compression = BiRgb;
    qsizetype infoBytes = 0; // header, masks and colour table
    qint64 imageBytes = 0; // bytes the bits need (uncompressed), or the stated size
};

bool layout(RecordReader &r, DibLayout *out, QString *refusal)
{
    const quint32 headerSize = r.u32(0);
    DibLayout d;
    qint64 colours = 0;
    int colourBytes = 4;
    if (headerSize == 12) { // BITMAPCOREHEADER
        d.width = r.u16(4);
        d.height = r.u16(6);
        d.bitCount = r.u16(10);
        colours = d.bitCount <= 8 ? (qint64(1) << d.bitCount) : 0;
        colourBytes = 3;
    } else if (headerSize >= 40 && headerSize <= 1024) {
        d.width = r.i32(4);
        d.height = r.i32(8);
        d.bitCount = r.u16(14);
        d.compression = r.u32(16);
        d.imageBytes = r.u32(20);
        const quint32 used = r.u32(32);
        if (d.bitCount <= 8) {
            colours = used == 0 || used > (1u << d.bitCount) ? (qint64(1) << d.bitCount) : used;
        } else {
            colours = used <= 256 ? used : 0;
        }
    } else {
        return false;
    }
    if (!r.ok() || d.width <= 0 || d.height == 0 || d.height == std::numeric_limits<qint32>::min()) {
        return false;
    }
    const qint64 rows = d.height < 0 ? -d.height : d.height;
    if (d.width > MaxBitmapPixels || rows > MaxBitmapPixels || d.width * rows > MaxBitmapPixels) {
        *refusal = QStringLiteral("An embedded bitmap is too large.");
        return false;
    }
    switch (d.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        if (!(d.bitCount == 0 && (d.compression == BiJpeg || d.compression == BiPng))) {
            return false;
        }
    }
    qint64 masks = 0;
    if (d.compression == BiBitfields && headerSize == 40) {
        masks = 12;
    }
    d.infoBytes = qsizetype(headerSize + masks + colours * colourBytes);
    if (d.compression == BiRgb || d.compression == BiBitfields) {
        const qint64 stride = ((d.width * d.bitCount + 31) / 32) * 4;
        d.imageBytes = stride * rows;
    } else if (d.compression == BiRle8 || d.compression == BiRle4) {
        if (d.height < 0 || d.bitCount != (d.compression == BiRle8 ? 8 : 4)) {
            return false;
        }
    } else if (d.compression != BiJpeg && d.compression != BiPng) {
        return false;
    }
    *out = d;
    return true;
}

// A compressed picture inside the bitmap (JPEG or PNG), read only if its size is within limits.
QImage decodeEmbedded(const char *bits, qsizetype size)
{
    QByteArray data = QByteArray::fromRawData(bits, size);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "png") {
        return {};
    }
    const QSize s = reader.size();
    if (s.isEmpty() || qint64(s.width()) * s.height() > MaxBitmapPixels) {
        return {};
    }
    return reader.read();
}

} // namespace

QImage decodeDib(const char *info, qsizetype infoSize, const char *bits, qsizetype bitsSize, QString *refusal)
{
    const QString damaged = QStringLiteral("An embedded bitmap does not fit its record.");
    if (!info || !bits || infoSize <= 0 || bitsSize <= 0) {
        *refusal = damaged;
        return {};
    }
    RecordReader r(info, infoSize);
    DibLayout d;
    if (!layout(r, &d, refusal)) {
        return {};
    }
    if (d.infoBytes > infoSize) {
        *refusal = damaged;
        return {};
    }
    if (d.compression == BiJpeg || d.compression == BiPng) {
        return decodeEmbedded(bits, bitsSize);
    }
    qsizetype bitsUsed = bitsSize;
    if (d.compression == BiRgb || d.compression == BiBitfields) {
        if (d.imageBytes > bitsSize) {
            *refusal = damaged;
            return {};
        }
        bitsUsed = qsizetype(d.imageBytes);
    }
    // Qt reads the bitmap once it has the file header that a .bmp file puts before it.
    const qint64 fileSize = 14 + d.infoBytes + bitsUsed;
    if (fileSize > std::numeric_limits<qint32>::max()) {
        return {};
    }
    QByteArray file;
    file.reserve(qsizetype(fileSize));
    const auto put32 = [&file](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            file.append(char((v >> (8 * i)) & 0xff));
        }
    };
    file.append("BM", 2);
    put32(quint32(fileSize));
    put32(0);
    put32(quint32(14 + d.infoBytes));
    file.append(info, d.infoBytes);
    file.append(bits, bitsUsed);
    QImage image;
    if (!image.loadFromData(file, "BMP")) {
        return {};
    }
    return image;
}

QImage decodePackedDib(const char *data, qsizetype size, QString *refusal)
{
    if (!data || size <= 0) {
        *refusal = QStringLiteral("An embedded bitmap does not fit its record.");
        return {};
    }
    RecordReader r(data, size);
    DibLayout d;
    if (!layout(r, &d, refusal)) {
        return {};
    }
    if (d.infoBytes >= size) {
        *refusal = QStringLiteral("An embedded bitmap does not fit its record.");
        return {};
    }
    return decodeDib(data, d.infoBytes, data + d.infoBytes, size - d.infoBytes, refusal);
}

} // namespace Metafile
