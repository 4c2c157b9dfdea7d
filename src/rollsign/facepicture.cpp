#include "rollsign/facepicture.h"

#include "core/picturelimits.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace {

// The top-left part of a face, standing in for the whole face of `fullSize`.
Picture partialPicture(QImage part, QSize fullSize)
{
    return Picture(fullSize, [part = std::move(part), fullSize](QPainter *painter, const QRectF &target) {
        const qreal scaleX = target.width() / fullSize.width();
        const qreal scaleY = target.height() / fullSize.height();
        painter->drawImage(QRectF(target.topLeft(), QSizeF(part.width() * scaleX, part.height() * scaleY)), part);
    });
}

} // namespace

Result<Picture> loadFacePicture(const QString &path, QSize visible)
{
    if (path.isEmpty() || visible.isEmpty()) {
        return loadPicture(path);
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const bool partialDecode = reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ClipRect)
        && reader.transformation() == QImageIOHandler::TransformationNone;
    const QSize fullSize = reader.size();
    if (!partialDecode || !PictureLimits::checkedSize(fullSize)
        || QFileInfo(path).size() > PictureLimits::MaxFileBytes) {
        return loadPicture(path);
    }
    // A face no larger than the box gains nothing from clipping.
    const QRect clip = QRect(QPoint(0, 0), fullSize).intersected(QRect(QPoint(0, 0), visible));
    if (clip.size() == fullSize) {
        return loadPicture(path);
    }
    reader.setClipRect(clip);
    QImage part = reader.read();
    if (part.isNull()) {
        return failure(reader.errorString());
    }
    part.setDevicePixelRatio(1.0);
    return partialPicture(std::move(part), fullSize);
}
