#pragma once

#include "core/result.h"

#include <QImage>
#include <QSize>

#include <functional>
#include <memory>

class QPainter;
class QRectF;
class QPointF;
class QString;

// A picture as the program shows it: a raster image or a vector drawing, with its intrinsic size
// in logical pixels. The default picture is empty. Copies share their data, so a picture is cheap
// to pass around and can be kept by several owners.
//
// Vector pictures are drawn as vectors into the painter, so they stay crisp at any device pixel
// ratio; raster pictures are drawn with smooth scaling when stretched.
class Picture
{
public:
    using Renderer = std::function<void(QPainter *painter, const QRectF &target)>;

    Picture() = default;
    explicit Picture(QImage image);
    Picture(QSize logicalSize, Renderer renderer);

    bool isNull() const { return !m_data; }
    QSize size() const; // logical pixels; empty for the empty picture

    // Draws the whole picture stretched into `target` (logical coordinates).
    void draw(QPainter *painter, const QRectF &target) const;
    // Draws it at its own size with its top-left corner at `topLeft`.
    void drawUnscaled(QPainter *painter, const QPointF &topLeft) const;

    // The raster image, or a null image for vector and empty pictures.
    QImage image() const;

private:
    struct Data;
    std::shared_ptr<const Data> m_data;
};

// An SVG drawing (typically one of the program's own resources) as a vector picture of the given
// logical size, or a failure if the file cannot be read as SVG.
Result<Picture> svgPicture(const QString &path, QSize logicalSize);
