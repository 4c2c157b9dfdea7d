#pragma once

#include "core/result.h"

#include <QSize>
#include <QString>

// The limits on untrusted picture files, for every reader of them (the picture loader and the
// metafile player): larger files and pictures are refused as failures, not decoded.
namespace PictureLimits {

constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
constexpr int MaxSide = 4096; // logical pixels, either side
constexpr qint64 MaxPixels = 16'000'000; // logical pixels in all

// `size` itself where a picture of that many logical pixels may be shown, or why not: it has no
// area, or it is over a side or pixel limit.
inline Result<QSize> checkedSize(QSize size)
{
    if (size.width() < 1 || size.height() < 1) {
        return failure(QStringLiteral("The picture has no size."));
    }
    if (size.width() > MaxSide || size.height() > MaxSide || qint64(size.width()) * size.height() > MaxPixels) {
        return failure(QStringLiteral("The picture is too large."));
    }
    return size;
}

} // namespace PictureLimits
