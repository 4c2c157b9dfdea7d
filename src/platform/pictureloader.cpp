#include "pictureloader.h"

#include <QImageReader>

PictureLoadResult loadPicture(const QString &path)
{
    if (path.isEmpty()) {
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        return {Picture(), reader.errorString()};
    }
    return {Picture(std::move(image)), QString()};
}
