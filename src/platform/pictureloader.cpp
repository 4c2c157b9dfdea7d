#include "pictureloader.h"

#include "metafile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

// Qt's readers refuse to allocate more than this for one image: a picture at the pixel limit,
// four bytes a pixel, fits.
constexpr int AllocationLimitMiB = 64;

PictureLoadResult failure(const QString &error)
{
    return {Picture(), error};
}

QString checkPictureSize(QSize size)
{
    if (size.width() > Metafile::MaxSide || size.height() > Metafile::MaxSide
        || qint64(size.width()) * size.height() > Metafile::MaxPixels) {
        return QStringLiteral("The picture is too large.");
    }
    return {};
}

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
        if (count > double(Metafile::MaxPixels)) {
            pixels *= std::sqrt(double(Metafile::MaxPixels) / count);
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
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            return {};
        }
        image.fill(Qt::transparent);
        // A picture that played once plays again; a failure here leaves what was drawn.
        Metafile::play(*m_document, &image);
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

PictureLoadResult loadMetafile(QByteArray data)
{
    Metafile::ReadResult read = Metafile::read(std::move(data));
    if (!read.document) {
        return failure(read.error);
    }
    // Played once now at its own size, so a picture that cannot be played is a failure here and
    // not a blank later; the rendering is kept for drawing at a device pixel ratio of 1.
    QImage image(read.document->size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return failure(QStringLiteral("Not enough memory for the picture."));
    }
    image.fill(Qt::transparent);
    if (QString error = Metafile::play(*read.document, &image); !error.isEmpty()) {
        return failure(error);
    }
    auto renderings = std::make_shared<MetafileRenderings>(read.document, std::move(image));
    return {Picture(read.document->size,
                [renderings](QPainter *painter, const QRectF &target) { renderings->draw(painter, target); }),
        QString()};
}

// Qt's bitmap reader pads a file cut short with blank rows; an uncompressed bitmap whose rows do
// not all fit in the file is treated as damaged instead.
bool bitmapComplete(const QByteArray &data)
{
    const auto u32 = [&data](qsizetype at) -> qint64 {
        if (at + 4 > data.size()) {
            return -1;
        }
        quint32 v;
        std::memcpy(&v, data.constData() + at, 4);
        return v;
    };
    const qint64 offBits = u32(10);
    const qint64 headerSize = u32(14);
    if (offBits < 0 || headerSize < 40) {
        return true; // old-style headers: left to Qt
    }
    const qint64 width = qint32(u32(18));
    const qint64 height = qint32(u32(22));
    const qint64 bits = u32(28) & 0xffff;
    const qint64 compression = u32(30);
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

PictureLoadResult loadRaster(QByteArray data)
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
    const QSize size = reader.size();
    if (size.isValid()) {
        if (QString error = checkPictureSize(size); !error.isEmpty()) {
            return failure(error);
        }
    }
    if (format == "bmp" && !bitmapComplete(data)) {
        return failure(QStringLiteral("The picture is cut short."));
    }
    QImage image = reader.read(); // the first frame of an animation
    if (image.isNull()) {
        return failure(reader.errorString());
    }
    if (QString error = checkPictureSize(image.size()); !error.isEmpty()) {
        return failure(error);
    }
    return {Picture(std::move(image)), QString()};
}

} // namespace

PictureLoadResult loadPicture(const QString &path)
{
    if (path.isEmpty()) {
        return {};
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        return failure(QStringLiteral("The file does not exist."));
    }
    // Folders, devices and pipes are no pictures; reading a pipe could wait for ever.
    if (!info.isFile()) {
        return failure(QStringLiteral("The path is not a file."));
    }
    if (info.size() > Metafile::MaxFileBytes) {
        return failure(QStringLiteral("The file is too large."));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(file.errorString());
    }
    // One byte over the limit tells a file that grew past it since its size was read.
    return loadPictureData(file.read(Metafile::MaxFileBytes + 1));
}

PictureLoadResult loadPictureData(QByteArray data)
{
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(AllocationLimitMiB); });

    if (data.size() > Metafile::MaxFileBytes) {
        return failure(QStringLiteral("The file is too large."));
    }
    if (data.isEmpty()) {
        return failure(QStringLiteral("The file is empty."));
    }
    if (Metafile::looksLikeMetafile(data)) {
        return loadMetafile(std::move(data));
    }
    return loadRaster(std::move(data));
}
