// Feeds arbitrary bytes to the metafile reader and, when they read as a picture, plays them.
#include "fuzzsetup.h"
#include "metafile.h"

#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Metafile::ReadResult read = Metafile::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!read.document) {
        return 0;
    }
    // Played small, so that the fuzzer spends its time in the records rather than in pixels.
    const QSize size96 = read.document->size;
    const QSize target =
        size96.scaled(std::min(size96.width(), 200), std::min(size96.height(), 200), Qt::KeepAspectRatio);
    QImage image(target.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    Metafile::play(*read.document, &image);
    return 0;
}
