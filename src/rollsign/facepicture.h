#pragma once

#include "picture/pictureloader.h"

// A roll-sign face for a sign box of `visible` logical pixels: the picture loader's visible part.
inline Result<Picture> loadFacePicture(const QString &path, QSize visible)
{
    return loadPicture(path, visible);
}
