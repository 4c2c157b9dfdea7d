#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>

// Writes a BMP of `size` pixels in one colour to `path`; false where it could not be written.
inline bool writeSolidBmp(const QString &path, QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "BMP");
}

// The largest difference between the red, green or blue values of two pixels.
inline int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Whether `pixel` is `expected` give or take `tolerance` in each of red, green and blue: what
// smoothing, antialiasing and lossy formats may change.
inline bool near(QRgb pixel, const QColor &expected, int tolerance)
{
    return channelDifference(pixel, expected.rgb()) <= tolerance;
}

// The largest channelDifference() between two images of one size, over every `step`th pixel
// across and down.
inline int largestDifference(const QImage &a, const QImage &b, int step = 1)
{
    int largest = 0;
    for (int y = 0; y < a.height(); y += step) {
        for (int x = 0; x < a.width(); x += step) {
            largest = std::max(largest, channelDifference(a.pixel(x, y), b.pixel(x, y)));
        }
    }
    return largest;
}
