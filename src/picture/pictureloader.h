#pragma once

#include "core/result.h"
#include "picture/picture.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// The program's one picture loader: the picture, or why the file could not be read. An empty path
// gives the empty picture (a success); a path that names no readable picture is a failure. Never
// throws.
//
// The format is taken from the content, not the name: BMP, GIF (first frame, transparency kept),
// JPEG (turned by its EXIF orientation) and PNG through Qt's readers; placeable WMF and EMF through
// our own metafile player, as vector pictures drawn at the device pixel ratio. Files over 16 MiB
// and pictures over 4096 pixels a side or 16 million pixels are failures. Sets Qt's image
// allocation limit for the whole process (64 MiB) on first use.
Result<Picture> loadPicture(const QString &path);

// The same for a picture shown at its own size from the top-left corner of a box of `visible`
// logical pixels that clips the rest (a roll-sign face in its sign box). Of a large JPEG only the
// part in the box is decoded (a 4000 x 3000 photograph of 4 MB takes a few milliseconds instead of
// over a hundred); the picture still has its full size and draws as the whole one would inside the
// box. Every other picture, and an empty `visible`, loads whole.
Result<Picture> loadPicture(const QString &path, QSize visible);

// The same for the bytes of a picture file already in memory: no bytes at all, or more than
// 16 MiB, is a failure, and every other limit and format rule is the one for files.
Result<Picture> loadPictureData(QByteArray data);
