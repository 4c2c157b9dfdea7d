// Feeds arbitrary files to the picture loader and draws what it accepts.
#include "fuzzsetup.h"
#include "pictureloader.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QString inputPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("input"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(inputPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return 0;
    }
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    const PictureLoadResult result = loadPicture(inputPath());
    if (result.ok() && !result.picture.isNull()) {
        QImage image(64, 48, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2.0);
        image.fill(Qt::white);
        QPainter painter(&image);
        result.picture.draw(&painter, QRectF(0, 0, 32, 24));
    }
    return 0;
}
