#include "metafile/metafile.h"

#include "core/picturelimits.h"
#include "metafile/metafileplayer_p.h"

#include <cmath>

namespace Metafile {

namespace {

constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr int EmfHeaderMinimum = 88;
constexpr int PlaceableHeaderSize = 22;
constexpr int WmfHeaderSize = 18;

bool isEmf(RecordReader &r)
{
    return r.has(0, EmfHeaderMinimum) && r.u32(0) == 1 && r.u32(40) == EmfSignature;
}

bool isPlainWmf(RecordReader &r, qsizetype at)
{
    if (!r.has(at, WmfHeaderSize)) {
        return false;
    }
    const quint16 type = r.u16(at);
    const quint16 headerWords = r.u16(at + 2);
    const quint16 version = r.u16(at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

using ReadResult = Result<std::shared_ptr<const Document>>;

int roundedPixels(double value)
{
    return std::isfinite(value) && std::abs(value) < 1e9 ? int(std::lround(value)) : -1;
}

ReadResult readEmf(QByteArray data)
{
    RecordReader r(data.constData(), data.size());
    auto doc = std::make_shared<Document>();
    doc->format = Format::Emf;
    const quint32 headerSize = r.u32(4);
    const qint32 frameLeft = r.i32(24);
    const qint32 frameTop = r.i32(28);
    const qint32 frameRight = r.i32(32);
    const qint32 frameBottom = r.i32(36);
    const quint32 handles = r.u16(56);
    const qint32 deviceWidth = r.i32(72);
    const qint32 deviceHeight = r.i32(76);
    const qint32 mmWidth = r.i32(80);
    const qint32 mmHeight = r.i32(84);
    if (headerSize < EmfHeaderMinimum || headerSize % 4 != 0 || headerSize > quint32(data.size())) {
        return failure(QStringLiteral("The picture's header is damaged."));
    }
    if (handles > quint32(MaxObjects)) {
        return failure(QStringLiteral("The picture has too many objects."));
    }
    doc->objectCount = handles;
    if (deviceWidth > 0 && deviceHeight > 0 && mmWidth > 0 && mmHeight > 0) {
        doc->devicePixelsPerMm = QSizeF(double(deviceWidth) / mmWidth, double(deviceHeight) / mmHeight);
        if (headerSize >= 108) {
            const qint32 umWidth = r.i32(100);
            const qint32 umHeight = r.i32(104);
            if (umWidth > 0 && umHeight > 0) {
                doc->devicePixelsPerMm = QSizeF(1000.0 * deviceWidth / umWidth, 1000.0 * deviceHeight / umHeight);
            }
        }
    }
    // The frame is in hundredths of a millimetre; the picture is the frame at 96 dots per inch.
    const double frameWidth = double(frameRight) - frameLeft;
    const double frameHeight = double(frameBottom) - frameTop;
    if (frameWidth <= 0 || frameHeight <= 0) {
        return failure(QStringLiteral("The picture's frame is empty."));
    }
    doc->size = QSize(roundedPixels(frameWidth * 96 / 2540), roundedPixels(frameHeight * 96 / 2540));
    if (const Result<QSize> checked = PictureLimits::checkedSize(doc->size); !checked) {
        return failure(checked.error());
    }
    // The frame in the reference device's pixels. The device's size is given in whole
    // millimetres, so the frame is rounded to whole pixels: a 52-pixel-wide picture comes out as
    // 51.96 pixels otherwise and would be drawn a little stretched and blurred.
    const QSizeF ppm = doc->devicePixelsPerMm;
    const double left = std::round(frameLeft / 100.0 * ppm.width());
    const double top = std::round(frameTop / 100.0 * ppm.height());
    const double right = std::round(frameRight / 100.0 * ppm.width());
    const double bottom = std::round(frameBottom / 100.0 * ppm.height());
    if (!(right > left) || !(bottom > top)) {
        return failure(QStringLiteral("The picture's frame is empty."));
    }
    doc->frame = QRectF(QPointF(left, top), QPointF(right, bottom));

    qsizetype offset = headerSize;
    while (offset < data.size()) {
        if (!r.has(offset, 8)) {
            return failure(QStringLiteral("The picture is cut short."));
        }
        const quint32 type = r.u32(offset);
        const quint32 size = r.u32(offset + 4);
        if (size < 8 || size % 4 != 0 || !r.has(offset, size)) {
            return failure(QStringLiteral("The picture has a damaged record."));
        }
        if (doc->records.size() >= size_t(MaxRecords)) {
            return failure(QStringLiteral("The picture has too many records."));
        }
        doc->records.push_back(quint32(offset));
        offset += size;
        if (type == EmfEndRecord) {
            break;
        }
    }
    doc->data = std::move(data);
    return ReadResult(std::move(doc));
}

ReadResult readPlaceableWmf(QByteArray data)
{
    RecordReader r(data.constData(), data.size());
    auto doc = std::make_shared<Document>();
    doc->format = Format::Wmf;
    const qint16 left = r.i16(6);
    const qint16 top = r.i16(8);
    const qint16 right = r.i16(10);
    const qint16 bottom = r.i16(12);
    const quint16 unitsPerInch = r.u16(14);
    if (!isPlainWmf(r, PlaceableHeaderSize)) {
        return failure(QStringLiteral("The picture's header is damaged."));
    }
    if (unitsPerInch == 0) {
        return failure(QStringLiteral("The picture has no size."));
    }
    doc->objectCount = r.u16(PlaceableHeaderSize + 10);
    // The bounding box, in the picture's own units, at 96 dots per inch.
    doc->size = QSize(roundedPixels(std::abs(double(right) - left) * 96 / unitsPerInch),
        roundedPixels(std::abs(double(bottom) - top) * 96 / unitsPerInch));
    if (const Result<QSize> checked = PictureLimits::checkedSize(doc->size); !checked) {
        return failure(checked.error());
    }
    doc->frame = QRectF(QPointF(left, top), QPointF(right, bottom));

    qsizetype offset = PlaceableHeaderSize + WmfHeaderSize;
    while (offset < data.size()) {
        if (!r.has(offset, 6)) {
            return failure(QStringLiteral("The picture is cut short."));
        }
        const qint64 size = qint64(r.u32(offset)) * 2;
        const quint16 function = r.u16(offset + 4);
        if (size < 6 || !r.has(offset, size)) {
            return failure(QStringLiteral("The picture has a damaged record."));
        }
        if (doc->records.size() >= size_t(MaxRecords)) {
            return failure(QStringLiteral("The picture has too many records."));
        }
        doc->records.push_back(quint32(offset));
        offset += size;
        if (function == WmfEndRecord) {
            break;
        }
    }
    doc->data = std::move(data);
    return ReadResult(std::move(doc));
}

} // namespace

bool looksLikeMetafile(const QByteArray &data)
{
    RecordReader r(data.constData(), data.size());
    return (r.has(0, 4) && r.u32(0) == PlaceableKey) || isEmf(r) || isPlainWmf(r, 0);
}

ReadResult read(QByteArray data)
{
    if (data.size() > PictureLimits::MaxFileBytes) {
        return failure(QStringLiteral("The file is too large."));
    }
    RecordReader r(data.constData(), data.size());
    if (r.has(0, 4) && r.u32(0) == PlaceableKey) {
        if (!r.has(0, PlaceableHeaderSize + WmfHeaderSize)) {
            return failure(QStringLiteral("The picture is cut short."));
        }
        return readPlaceableWmf(std::move(data));
    }
    if (isEmf(r)) {
        return readEmf(std::move(data));
    }
    if (isPlainWmf(r, 0)) {
        // Without the placeable header a metafile states no size of its own.
        return failure(QStringLiteral("The metafile states no picture size."));
    }
    return failure(QStringLiteral("The file is not a metafile."));
}

Result<QImage, PlayFailure> play(const Document &document, QSize size)
{
    if (size.isEmpty() || document.size.isEmpty()) {
        return failure(PlayFailure{QStringLiteral("Nothing to draw on."), QImage()});
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return failure(PlayFailure{QStringLiteral("Not enough memory for the picture."), QImage()});
    }
    image.fill(Qt::transparent);
    const double sx = double(image.width()) / document.size.width();
    const double sy = double(image.height()) / document.size.height();
    const double pictureScale = std::sqrt(sx * sy);
    std::optional<QString> stopped;
    if (document.format == Format::Emf) {
        // Reference-device pixels: the frame is stretched over the whole image.
        const QRectF f = document.frame;
        const double fx = image.width() / f.width();
        const double fy = image.height() / f.height();
        const QTransform deviceToImage(fx, 0, 0, fy, -f.left() * fx, -f.top() * fy);
        Player player(&image, deviceToImage, pictureScale, document.objectCount, false);
        player.setDevicePixelsPerMm(document.devicePixelsPerMm);
        playEmf(document, player);
        stopped = player.failure();
    } else {
        // WMF: device pixels are the picture's pixels, and the bounding box is the initial window
        // over the whole picture.
        Player player(&image, QTransform::fromScale(sx, sy), pictureScale, document.objectCount, true);
        DcState &state = player.state();
        state.mapMode = 8;
        state.windowOrg = document.frame.topLeft();
        state.windowExt = document.frame.size();
        state.viewportOrg = QPointF(0, 0);
        state.viewportExt = QSizeF(document.size);
        playWmf(document, player);
        stopped = player.failure();
    }
    // The player's painter has ended with the player, so the image is complete either way.
    if (stopped) {
        return failure(PlayFailure{*stopped, image});
    }
    return image;
}

} // namespace Metafile
