#pragma once

#include "picture.h"

#include <QString>

// What the picture loader gives back: the picture, or an empty picture and a description of why
// the file could not be read.
struct PictureLoadResult
{
    Picture picture;
    QString error; // empty on success

    bool ok() const { return error.isEmpty(); }
};

// The program's one picture loader. An empty path gives the empty picture (a success); a path
// that names no readable picture is a failure. Never throws.
PictureLoadResult loadPicture(const QString &path);
