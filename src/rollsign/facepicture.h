#pragma once

#include "picture/pictureloader.h"

#include <QSize>

// Reads a roll-sign face for a sign box of `visible` logical pixels. The face is shown at its own
// size from the box's top-left corner and the box clips the rest, so of a large JPEG only the part
// that can be seen is decoded (a 4000 x 3000 photograph takes a millisecond instead of a large
// fraction of a second); the picture still has the face's full size. Every other file goes
// through the program's picture loader unchanged. Failures are those of the loader.
Result<Picture> loadFacePicture(const QString &path, QSize visible);
