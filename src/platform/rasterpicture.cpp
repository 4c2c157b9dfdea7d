#include "rasterpicture.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int BandRows = 24;

struct RasterCache
{
    Picture source;
    qreal ratio = 0;
    QImage image;
};

} // namespace

Picture rasterPicture(const Picture &source)
{
    if (source.isNull()) {
        return {};
    }
    auto cache = std::make_shared<RasterCache>();
    cache->source = source;
    return Picture(source.size(), [cache](QPainter *painter, const QRectF &target) {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        if (cache->image.isNull() || cache->ratio != ratio) {
            const QSize logical = cache->source.size();
            QImage image(QSize(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio))),
                QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter imagePainter(&image);
            imagePainter.setRenderHint(QPainter::Antialiasing, true);
            imagePainter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            cache->source.draw(&imagePainter, QRectF(QPointF(0, 0), QSizeF(logical)));
            imagePainter.end();
            cache->image = std::move(image);
            cache->ratio = ratio;
        }
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        // Drawn in bands of a few device rows, each the whole image clipped to its rows, so the
        // bands add up to exactly one drawing: the raster engine hands larger fills to a thread
        // pool, and waking its threads for every small repaint costs far more than the drawing.
        const int firstRow = int(std::floor(target.top() * ratio));
        const int endRow = int(std::ceil(target.bottom() * ratio));
        for (int row = firstRow; row < endRow; row += BandRows) {
            const int bandEnd = std::min(row + BandRows, endRow);
            painter->save();
            painter->setClipRect(
                QRectF(target.left() - 1, row / ratio, target.width() + 2, (bandEnd - row) / ratio), Qt::IntersectClip);
            painter->drawImage(target, cache->image);
            painter->restore();
        }
    });
}
