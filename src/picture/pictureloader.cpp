#include "picture/pictureloader.h"

#include "core/littleendian.h"
#include "core/picturelimits.h"
#include "metafile/metafile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// Qt's readers refuse to allocate more than this for one image: a picture at the pixel limit,
// four bytes a pixel, fits.
constexpr int AllocationLimitMiB = 64;

// Renderings of one metafile, kept per size in device pixels so that repainting at the same size
// and device pixel ratio does not play the metafile again.
class MetafileRenderings
{
public:
    MetafileRenderings(std::shared_ptr<const Metafile::Document> document, QImage first)
        : m_document(std::move(document))
    {
        m_images.push_back(std::move(first));
    }

    void draw(QPainter *painter, const QRectF &target)
    {
        const QTransform &t = painter->transform();
        const double ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const double sx = std::hypot(t.m11(), t.m12()) * ratio;
        const double sy = std::hypot(t.m21(), t.m22()) * ratio;
        QSizeF pixels(target.width() * sx, target.height() * sy);
        // Very large targets are drawn from a rendering at the pixel limit, stretched.
        const double count = pixels.width() * pixels.height();
        if (!std::isfinite(count) || count <= 0) {
            return;
        }
        if (count > double(PictureLimits::MaxPixels)) {
            pixels *= std::sqrt(double(PictureLimits::MaxPixels) / count);
        }
        // A target far wider than high (or the reverse) still gets an image Qt can make.
        constexpr double MaxRenderSide = 32768;
        const QSize size(int(std::clamp(std::ceil(pixels.width()), 1.0, MaxRenderSide)),
            int(std::clamp(std::ceil(pixels.height()), 1.0, MaxRenderSide)));
        const QImage image = rendering(size);
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(target, image);
        painter->restore();
    }

private:
    QImage rendering(QSize size)
    {
        std::lock_guard lock(m_mutex);
        for (const QImage &image : m_images) {
            if (image.size() == size) {
                return image;
            }
        }
        // A picture that played once plays again; a failure here leaves what was drawn.
        Result<QImage, Metafile::PlayFailure> played = Metafile::play(*m_document, size);
        const QImage image = played ? *std::move(played) : played.error().drawn;
        if (image.isNull()) {
            return {};
        }
        m_images.insert(m_images.begin(), image);
        if (m_images.size() > KeptRenderings) {
            m_images.pop_back();
        }
        return image;
    }

    static constexpr size_t KeptRenderings = 3;
    std::shared_ptr<const Metafile::Document> m_document;
    std::mutex m_mutex;
    std::vector<QImage> m_images;
};

// The size a metafile is played at when it is loaded: its own. Builds for fuzzing play it at no
// more than 200 x 200 pixels, as the metafile player's own fuzz target does, so that the fuzzer
// spends its time in the loader and the records rather than in filling millions of pixels.
QSize loadingSize(QSize own)
{
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    constexpr int Side = 200;
    return own.scaled(std::min(own.width(), Side), std::min(own.height(), Side), Qt::KeepAspectRatio)
        .expandedTo(QSize(1, 1));
#else
    return own;
#endif
}

Result<Picture> loadMetafile(QByteArray data)
{
    const Result<std::shared_ptr<const Metafile::Document>> read = Metafile::read(std::move(data));
    if (!read) {
        return failure(read.error());
    }
    const std::shared_ptr<const Metafile::Document> &document = *read;
    // Played once now at its own size, so a picture that cannot be played is a failure here and
    // not a blank later; the rendering is kept for drawing at a device pixel ratio of 1.
    Result<QImage, Metafile::PlayFailure> played = Metafile::play(*document, loadingSize(document->size));
    if (!played) {
        return failure(played.error().description);
    }
    auto renderings = std::make_shared<MetafileRenderings>(document, *std::move(played));
    return Picture(
        document->size, [renderings](QPainter *painter, const QRectF &target) { renderings->draw(painter, target); });
}

// Qt's bitmap reader pads a file cut short with blank rows; an uncompressed bitmap whose rows do
// not all fit in the file is treated as damaged instead.
bool bitmapComplete(const QByteArray &data)
{
    LittleEndianReader r(data);
    const qint64 offBits = r.u32(10);
    const qint64 headerSize = r.u32(14);
    if (!r.ok() || headerSize < 40) {
        return true; // old-style headers: left to Qt
    }
    const qint64 width = r.i32(18);
    const qint64 height = r.i32(22);
    const qint64 bits = r.u16(28);
    const qint64 compression = r.u32(30); // past the end: 0, so the row check below decides
    if (compression != 0 && compression != 3) {
        return true;
    }
    // Sides beyond the picture limit are refused later anyway; here they only must not overflow.
    constexpr qint64 MaxSide = 1 << 24;
    if ((bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) || std::abs(width) > MaxSide
        || std::abs(height) > MaxSide) {
        return false;
    }
    const qint64 stride = ((std::abs(width) * bits + 31) / 32) * 4;
    return offBits + stride * std::abs(height) <= data.size();
}

// The top-left part `clip` of a picture of `fullSize`, standing in for the whole picture: drawn
// anywhere, it gives the pixels the whole picture gives there, and nothing beyond the part.
Result<Picture> topLeftPart(QImageReader &reader, const QRect &clip, QSize fullSize)
{
    reader.setClipRect(clip);
    QImage part = reader.read();
    if (part.isNull()) {
        return failure(reader.errorString());
    }
    part.setDevicePixelRatio(1.0);
    return Picture(fullSize, [part = std::move(part), fullSize](QPainter *painter, const QRectF &target) {
        const qreal scaleX = target.width() / fullSize.width();
        const qreal scaleY = target.height() / fullSize.height();
        painter->drawImage(QRectF(target.topLeft(), QSizeF(part.width() * scaleX, part.height() * scaleY)), part);
    });
}

Result<Picture> loadRaster(QByteArray data, QSize visible)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // Only the formats pictures come in; the other plugins Qt may have are not exposed to files
    // the user picks.
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "gif" && format != "jpeg" && format != "png") {
        return failure(QStringLiteral("The file is not a picture."));
    }
    // A header that states no size is left to the reader, which fails on it or reads the real size.
    const QSize size = reader.size();
    if (!size.isEmpty()) {
        if (const Result<QSize> checked = PictureLimits::checkedSize(size); !checked) {
            return failure(checked.error());
        }
    }
    if (format == "bmp" && !bitmapComplete(data)) {
        return failure(QStringLiteral("The picture is cut short."));
    }
    // Of an upright JPEG larger than the part that can be seen, Qt's reader decodes that part alone.
    if (format == "jpeg" && !visible.isEmpty() && !size.isEmpty()
        && reader.transformation() == QImageIOHandler::TransformationNone
        && reader.supportsOption(QImageIOHandler::ClipRect)) {
        const QRect clip = QRect(QPoint(0, 0), size).intersected(QRect(QPoint(0, 0), visible));
        if (clip.size() != size) {
            return topLeftPart(reader, clip, size);
        }
    }
    QImage image = reader.read(); // the first frame of an animation
    if (image.isNull()) {
        return failure(reader.errorString());
    }
    if (const Result<QSize> checked = PictureLimits::checkedSize(image.size()); !checked) {
        return failure(checked.error());
    }
    return Picture(std::move(image));
}

Result<Picture> loadData(QByteArray data, QSize visible)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(AllocationLimitMiB); });

    if (data.size() > PictureLimits::MaxFileBytes) {
        return failure(QStringLiteral("The file is too large."));
    }
    if (data.isEmpty()) {
        return failure(QStringLiteral("The file is empty."));
    }
    if (Metafile::looksLikeMetafile(data)) {
        return loadMetafile(std::move(data));
    }
    return loadRaster(std::move(data), visible);
}

} // namespace

Result<Picture> loadPicture(const QString &path)
{
    return loadPicture(path, QSize());
}

Result<Picture> loadPicture(const QString &path, QSize visible)
{
    if (path.isEmpty()) {
        return Picture();
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        return failure(QStringLiteral("The file does not exist."));
    }
    // Folders, devices and pipes are no pictures; reading a pipe could wait for ever.
    if (!info.isFile()) {
        return failure(QStringLiteral("The path is not a file."));
    }
    if (info.size() > PictureLimits::MaxFileBytes) {
        return failure(QStringLiteral("The file is too large."));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(file.errorString());
    }
    // One byte over the limit tells a file that grew past it since its size was read.
    return loadData(file.read(PictureLimits::MaxFileBytes + 1), visible);
}

Result<Picture> loadPictureData(QByteArray data)
{
    return loadData(std::move(data), QSize());
}
