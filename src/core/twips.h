#pragma once

#include <QRect>
#include <QRectF>

// The model unit of every position and size: the twip, 1/1440 inch. One logical pixel is
// 15 twips on every screen. Geometry is kept in twips exactly as set; it becomes pixels only where
// a widget is placed or something is painted.
namespace Twips {

constexpr int PerPixel = 15;

constexpr int toPixels(int twips)
{
    // Round half away from zero, so -7 twips and 7 twips land symmetrically.
    return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
}
constexpr int fromPixels(int pixels) { return pixels * PerPixel; }

inline QRect toPixels(const QRect &twips)
{
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()), toPixels(twips.height())};
}
// The exact (fractional) pixel rectangle, for painting stretched pictures between pixel edges.
inline QRectF toPixelsF(const QRect &twips)
{
    return {twips.x() / double(PerPixel),
            twips.y() / double(PerPixel),
            twips.width() / double(PerPixel),
            twips.height() / double(PerPixel)};
}

} // namespace Twips
