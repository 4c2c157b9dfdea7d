#include "metafile/metafileplayer_p.h"

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

// The layout of the bitmap whose info `r` reads: nothing for a kind this player does not read, a
// failure for one over the pixel limit.
Result<std::optional<DibLayout>> layout(RecordReader &r)
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
        return std::optional<DibLayout>();
    }
    if (!r.ok() || d.width <= 0 || d.height == 0 || d.height == std::numeric_limits<qint32>::min()) {
        return std::optional<DibLayout>();
    }
    const qint64 rows = d.height < 0 ? -d.height : d.height;
    if (d.width > MaxBitmapPixels || rows > MaxBitmapPixels || d.width * rows > MaxBitmapPixels) {
        return failure(QStringLiteral("An embedded bitmap is too large."));
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
            return std::optional<DibLayout>();
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
            return std::optional<DibLayout>();
        }
    } else if (d.compression != BiJpeg && d.compression != BiPng) {
        return std::optional<DibLayout>();
    }
    return std::optional<DibLayout>(d);
}

Result<QImage> doesNotFit()
{
    return failure(QStringLiteral("An embedded bitmap does not fit its record."));
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

// `decode` applied to the layout of the bitmap whose info starts at `info`; the failure, or a null
// image for a kind this player does not read, where the layout says so.
template <typename Decode> Result<QImage> withLayout(const char *info, qsizetype size, Decode decode)
{
    RecordReader r(info, size);
    const Result<std::optional<DibLayout>> laidOut = layout(r);
    if (!laidOut) {
        return failure(laidOut.error());
    }
    if (!*laidOut) {
        return QImage();
    }
    return decode(**laidOut);
}

Result<QImage> decodeLaidOut(
    const DibLayout &d, const char *info, qsizetype infoSize, const char *bits, qsizetype bitsSize)
{
    if (d.infoBytes > infoSize) {
        return doesNotFit();
    }
    if (d.compression == BiJpeg || d.compression == BiPng) {
        return decodeEmbedded(bits, bitsSize);
    }
    qsizetype bitsUsed = bitsSize;
    if (d.compression == BiRgb || d.compression == BiBitfields) {
        if (d.imageBytes > bitsSize) {
            return doesNotFit();
        }
        bitsUsed = qsizetype(d.imageBytes);
    }
    // Qt reads the bitmap once it has the file header that a .bmp file puts before it.
    const qint64 fileSize = 14 + d.infoBytes + bitsUsed;
    if (fileSize > std::numeric_limits<qint32>::max()) {
        return QImage();
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
        return QImage();
    }
    return image;
}

} // namespace

Result<QImage> decodeDib(const char *info, qsizetype infoSize, const char *bits, qsizetype bitsSize)
{
    if (!info || !bits || infoSize <= 0 || bitsSize <= 0) {
        return doesNotFit();
    }
    return withLayout(
        info, infoSize, [=](const DibLayout &d) { return decodeLaidOut(d, info, infoSize, bits, bitsSize); });
}

Result<QImage> decodePackedDib(const char *data, qsizetype size)
{
    if (!data || size <= 0) {
        return doesNotFit();
    }
    return withLayout(data, size, [=](const DibLayout &d) {
        if (d.infoBytes >= size) {
            return doesNotFit();
        }
        return decodeLaidOut(d, data, d.infoBytes, data + d.infoBytes, size - d.infoBytes);
    });
}

// ---- Bitmaps ----

void Player::drawImage(const QRectF &dest, const QImage &image, const QRectF &source, quint32 rop)
{
    if (m_path || !finiteRect(dest)) {
        return;
    }
    QPointF a;
    QPointF b;
    if (!mapPoint(dest.topLeft(), &a) || !mapPoint(dest.bottomRight(), &b)) {
        return;
    }
    constexpr quint32 Blackness = 0x00000042;
    constexpr quint32 Whiteness = 0x00FF0062;
    constexpr quint32 PatCopy = 0x00F00021;
    const quint32 op = rop & 0x00FF0000;
    if (image.isNull()) {
        // No source bitmap: a pattern or constant fill of the destination.
        if (rop == Blackness) {
            fillRect(dest, QColor(Qt::black));
        } else if (rop == Whiteness) {
            fillRect(dest, QColor(Qt::white));
        } else if (rop == PatCopy) {
            fillRect(dest, currentBrush());
        }
        return;
    }
    const QRectF bounds = QRectF(image.rect()).intersected(source.normalized());
    if (bounds.isEmpty() || !finiteRect(source)) {
        return;
    }
    m_painter.save();
    switch (op) {
    case 0x00880000: // SRCAND
        m_painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case 0x00EE0000: // SRCPAINT
        m_painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case 0x00660000: // SRCINVERT
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case 0x00330000: // NOTSRCCOPY
        m_painter.setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    default:
        break;
    }
    // Nearest-neighbour stretching, as GDI stretches by default; the mapping may mirror.
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const double sx = (b.x() - a.x()) / source.width();
    const double sy = (b.y() - a.y()) / source.height();
    if (std::isfinite(sx) && std::isfinite(sy) && sx != 0 && sy != 0) {
        QTransform t(sx, 0, 0, sy, a.x() - source.x() * sx, a.y() - source.y() * sy);
        m_painter.setTransform(t * m_deviceToImage);
        m_painter.drawImage(bounds, image, bounds);
    }
    m_painter.restore();
}

} // namespace Metafile
