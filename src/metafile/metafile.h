#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

// Windows metafiles (WMF with the placeable header, and EMF), checked once when read and then played
// by our own player into images of any size. Reading checks the header, the picture's size and
// that every record lies inside the file; playing checks the rest (object and state limits, time).
namespace Metafile {

enum class Format { Wmf, Emf };

// Limits of what is accepted besides those on every picture (PictureLimits); anything beyond them is
// a failure, never a crash or a hang.
constexpr int MaxRecords = 1'000'000;
constexpr int MaxObjects = 65'535;
constexpr int MaxSavedStates = 1024;
constexpr qint64 MaxBitmapPixels = 16'000'000; // an embedded bitmap
constexpr int PlayTimeLimitMs = 1000;

struct Document
{
    Format format = Format::Emf;
    QByteArray data;
    QSize size; // intrinsic size, logical pixels at 96 dots per inch
    std::vector<quint32> records; // offset of every record after the header, in file order
    quint32 objectCount = 0; // size of the object table
    // EMF: the frame in reference-device pixels, mapped onto the picture; the device's pixels per
    // millimetre for the metric mapping modes. WMF: the bounding box in logical units.
    QRectF frame;
    QSizeF devicePixelsPerMm{96.0 / 25.4, 96.0 / 25.4};
};

// Whether the data starts like a metafile of either kind (placeable or plain WMF, or EMF).
bool looksLikeMetafile(const QByteArray &data);

// Checks the header, the picture's size and the record layout. Never reads outside `data`.
Result<std::shared_ptr<const Document>> read(QByteArray data);

// Why a picture could not be played to its end, and what was drawn before it stopped.
struct PlayFailure
{
    QString description;
    QImage drawn; // null where there was nothing to draw on
};

// Plays the picture stretched over the whole of a new transparent image of `size` pixels
// (premultiplied ARGB).
Result<QImage, PlayFailure> play(const Document &document, QSize size);

} // namespace Metafile
