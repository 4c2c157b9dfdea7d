#pragma once

#include <QtGlobal>

// The limits on untrusted picture files, for every reader of them: larger files and pictures are
// refused as failures, not decoded.
namespace PictureLimits {

constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
constexpr int MaxSide = 4096; // logical pixels, either side
constexpr qint64 MaxPixels = 16'000'000; // logical pixels in all

} // namespace PictureLimits
