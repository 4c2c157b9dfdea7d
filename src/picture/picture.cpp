#include "picture/picture.h"

#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

struct Picture::Data
{
    QSize size;
    QImage image;
    Renderer renderer;
};

Picture::Picture(QImage image)
{
    if (image.isNull()) {
        return;
    }
    auto data = std::make_shared<Data>();
    data->size = image.size();
    image.setDevicePixelRatio(1.0);
    data->image = std::move(image);
    m_data = std::move(data);
}

Picture::Picture(QSize logicalSize, Renderer renderer)
{
    if (!renderer || logicalSize.isEmpty()) {
        return;
    }
    auto data = std::make_shared<Data>();
    data->size = logicalSize;
    data->renderer = std::move(renderer);
    m_data = std::move(data);
}

QSize Picture::size() const
{
    return m_data ? m_data->size : QSize();
}

QImage Picture::image() const
{
    return m_data ? m_data->image : QImage();
}

void Picture::draw(QPainter *painter, const QRectF &target) const
{
    if (!m_data || target.isEmpty()) {
        return;
    }
    if (m_data->renderer) {
        painter->save();
        m_data->renderer(painter, target);
        painter->restore();
        return;
    }
    const bool smooth = painter->testRenderHint(QPainter::SmoothPixmapTransform);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->drawImage(target, m_data->image);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void Picture::drawUnscaled(QPainter *painter, const QPointF &topLeft) const
{
    if (m_data) {
        draw(painter, QRectF(topLeft, QSizeF(m_data->size)));
    }
}

Result<Picture> svgPicture(const QString &path, QSize logicalSize)
{
    auto renderer = std::make_shared<QSvgRenderer>(path);
    if (!renderer->isValid()) {
        return failure(path + QStringLiteral(": not a readable SVG drawing."));
    }
    renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
    return Picture(
        logicalSize, [renderer](QPainter *painter, const QRectF &target) { renderer->render(painter, target); });
}
