// Feeds arbitrary bytes to the metafile reader and, when they read as a picture, plays them.
#include "fuzzsetup.h"
#include "metafile/metafile.h"

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
    const Result<std::shared_ptr<const Metafile::Document>> read =
        Metafile::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!read) {
        return 0;
    }
    // Played small, so that the fuzzer spends its time in the records rather than in pixels.
    const QSize size96 = (*read)->size;
    const QSize target =
        size96.scaled(std::min(size96.width(), 200), std::min(size96.height(), 200), Qt::KeepAspectRatio);
    // Failing to play is an answer too; only crashes, hangs and sanitizer reports are faults here.
    static_cast<void>(Metafile::play(**read, target.expandedTo(QSize(1, 1))));
    return 0;
}
