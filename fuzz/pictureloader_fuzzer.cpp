// Feeds arbitrary bytes to the picture loader, as the content of a picture file, and draws what it
// accepts.
#include "fuzzsetup.h"
#include "picture/pictureloader.h"

#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Result<Picture> result = loadPictureData(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (result.ok() && !result->isNull()) {
        QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2.0);
        image.fill(Qt::white);
        QPainter painter(&image);
        result->draw(&painter, QRectF(0, 0, 32, 24));
    }
    return 0;
}
