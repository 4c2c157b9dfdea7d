#include "picture/rasterpicture.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QResource>
#include <QScreen>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <future>
#include <memory>

namespace {

constexpr int BandRows = 24;

struct RasterCache
{
    // The vector source, or the SVG file and size to make it from when first needed.
    Picture source;
    QString svgPath;
    QSize logicalSize;

    qreal ratio = 0;
    QImage image;

    // A first copy being made on the worker thread, and the ratio it is made at.
    std::shared_future<QImage> prepared;
    qreal preparedRatio = 0;
};

QImage renderCopy(const Picture &source, QSize logical, qreal ratio)
{
    if (source.isNull()) {
        return {};
    }
    QImage image(QSize(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio))),
        QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    source.draw(&painter, QRectF(QPointF(0, 0), QSizeF(logical)));
    painter.end();
    return image;
}

// A copy built into the program: a header, then the image's rows of premultiplied ARGB32 pixels in
// this machine's byte order (the build and the program run on one kind of machine; the marker
// tells otherwise, and the copy is then left unused).
struct RasterCopyHeader
{
    quint32 marker;
    qint32 width;
    qint32 height;
};
constexpr quint32 RasterCopyMarker = 0x41524742; // "ARGB"

// The copy built in beside the SVG drawing at `path` (a resource, or a file in tests) for the
// logical size, if there is one. A copy in the program's resources, which are not compressed, is
// drawn from where it lies in the program, without copying it.
QImage builtInCopy(const QString &path, QSize logicalSize)
{
    if (!path.endsWith(QLatin1String(".svg"))) {
        return {};
    }
    const QString copyPath = rasterCopyPath(path, logicalSize);
    const QResource resource(copyPath);
    const bool inProgram = resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression;
    QByteArray file;
    if (inProgram) {
        file = QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
    } else {
        QFile copyFile(copyPath);
        if (!copyFile.open(QIODevice::ReadOnly)) {
            return {};
        }
        file = copyFile.readAll();
    }
    RasterCopyHeader header{};
    if (file.size() < qsizetype(sizeof header)) {
        return {};
    }
    std::memcpy(&header, file.constData(), sizeof header);
    const qsizetype rowBytes = qsizetype(logicalSize.width()) * 4;
    if (header.marker != RasterCopyMarker || QSize(header.width, header.height) != logicalSize
        || file.size() != qsizetype(sizeof header) + rowBytes * logicalSize.height()) {
        return {};
    }
    const char *pixels = file.constData() + sizeof header;
    if (inProgram && reinterpret_cast<quintptr>(pixels) % alignof(quint32) == 0) {
        // Read only: the program's resources stay where they are for as long as it runs.
        return QImage(reinterpret_cast<const uchar *>(pixels),
            logicalSize.width(),
            logicalSize.height(),
            rowBytes,
            QImage::Format_ARGB32_Premultiplied);
    }
    QImage image(logicalSize, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    for (int row = 0; row < logicalSize.height(); ++row) {
        std::memcpy(image.scanLine(row), pixels + row * rowBytes, rowBytes);
    }
    return image;
}

// The prerendering threads, apart from Qt's global pool (which the raster engine uses itself).
// Two of them: the first picture asked for (the bus, the largest) takes one, the small ones go
// through the other meanwhile. They are waited for and deleted when the application object goes,
// as the pictures they render need it.
QThreadPool *artworkThreads = nullptr;

void startPrerendering(std::function<void()> job)
{
    if (!artworkThreads) {
        artworkThreads = new QThreadPool;
        artworkThreads->setMaxThreadCount(2);
        qAddPostRoutine([] { delete std::exchange(artworkThreads, nullptr); });
    }
    artworkThreads->start(std::move(job));
}

void draw(RasterCache &cache, QPainter *painter, const QRectF &target)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (cache.prepared.valid()) {
        cache.image = cache.prepared.get();
        cache.ratio = cache.preparedRatio;
        cache.prepared = {};
    }
    if (cache.image.isNull() || cache.ratio != ratio) {
        if (cache.source.isNull() && !cache.svgPath.isEmpty()) {
            cache.source = svgPicture(std::exchange(cache.svgPath, QString()), cache.logicalSize).valueOr(Picture());
        }
        cache.image = renderCopy(cache.source, cache.logicalSize, ratio);
        cache.ratio = ratio;
    }
    if (cache.image.isNull()) {
        return;
    }
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    // Drawn in bands of a few device rows, each the whole image clipped to its rows, so the
    // bands add up to exactly one drawing: the raster engine hands larger fills to a thread
    // pool, and waking its threads for every small repaint costs far more than the drawing.
    // Only the rows inside the painter's clip are drawn: a repaint of a small area does not walk
    // the whole image band by band.
    QRectF rows = target;
    if (painter->hasClipping()) {
        rows &= painter->clipBoundingRect();
    }
    const int firstRow = int(std::floor(rows.top() * ratio));
    const int endRow = int(std::ceil(rows.bottom() * ratio));
    for (int row = firstRow; row < endRow; row += BandRows) {
        const int bandEnd = std::min(row + BandRows, endRow);
        painter->save();
        painter->setClipRect(
            QRectF(target.left() - 1, row / ratio, target.width() + 2, (bandEnd - row) / ratio), Qt::IntersectClip);
        painter->drawImage(target, cache.image);
        painter->restore();
    }
}

Picture cachedPicture(std::shared_ptr<RasterCache> cache)
{
    const QSize size = cache->logicalSize;
    return Picture(
        size, [cache = std::move(cache)](QPainter *painter, const QRectF &target) { draw(*cache, painter, target); });
}

} // namespace

Picture rasterPicture(const Picture &source)
{
    if (source.isNull()) {
        return {};
    }
    auto cache = std::make_shared<RasterCache>();
    cache->source = source;
    cache->logicalSize = source.size();
    return cachedPicture(std::move(cache));
}

Picture prerenderedSvgPicture(const QString &path, QSize logicalSize)
{
    auto cache = std::make_shared<RasterCache>();
    cache->svgPath = path;
    cache->logicalSize = logicalSize;
    const QScreen *screen = QGuiApplication::primaryScreen();
    cache->preparedRatio = screen ? screen->devicePixelRatio() : 1.0;
    // Rendering the bus window's artwork takes longer than the rest of the program's start together:
    // at ratio 1 it is built in.
    if (cache->preparedRatio == 1.0) {
        QImage copy = builtInCopy(path, logicalSize);
        if (!copy.isNull()) {
            cache->image = std::move(copy);
            cache->ratio = 1.0;
            return cachedPicture(std::move(cache));
        }
    }

    // The worker parses its own copy of the drawing: nothing it touches is shared with the
    // painting thread until the finished image is handed over.
    auto promise = std::make_shared<std::promise<QImage>>();
    cache->prepared = promise->get_future().share();
    startPrerendering([promise, path, logicalSize, ratio = cache->preparedRatio] {
        QImage image;
        try {
            image = renderCopy(svgPicture(path, logicalSize).valueOr(Picture()), logicalSize, ratio);
        } catch (...) {
            // Out of memory: the first paint tries again itself.
        }
        promise->set_value(std::move(image));
    });
    return cachedPicture(std::move(cache));
}

QImage svgRasterCopy(const QString &path, QSize size)
{
    QImage copy = builtInCopy(path, size);
    if (copy.isNull()) {
        copy = renderCopy(svgPicture(path, size).valueOr(Picture()), size, 1.0);
    }
    return copy;
}

QString rasterCopyPath(const QString &path, QSize logicalSize)
{
    return path.chopped(4) + QStringLiteral(".%1x%2.argb").arg(logicalSize.width()).arg(logicalSize.height());
}

QByteArray rasterCopyFile(const QString &path, QSize logicalSize)
{
    const QImage image = renderCopy(svgPicture(path, logicalSize).valueOr(Picture()), logicalSize, 1.0);
    if (image.isNull()) {
        return {};
    }
    const RasterCopyHeader header{RasterCopyMarker, image.width(), image.height()};
    QByteArray file(reinterpret_cast<const char *>(&header), sizeof header);
    for (int row = 0; row < image.height(); ++row) {
        file.append(reinterpret_cast<const char *>(image.constScanLine(row)), qsizetype(image.width()) * 4);
    }
    return file;
}
