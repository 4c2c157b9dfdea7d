#pragma once

#include "core/result.h"
#include "picture/picture.h"

#include <QByteArray>
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

// The same for the bytes of a picture file already in memory: no bytes at all, or more than
// 16 MiB, is a failure, and every other limit and format rule is the one for files.
Result<Picture> loadPictureData(QByteArray data);
