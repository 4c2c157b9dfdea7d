// Load time and peak memory of the picture loader for large photos and bitmaps, the shapes
// metafiles and a picture refused at the pixel limit. Each case runs in a process of its own, so
// that its peak resident memory is its own:
//     pictureloader_bench            all cases, one line each
//     pictureloader_bench CASE DIR   one case, with the prepared files in DIR
#include "picture/pictureloader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;

// The process's peak resident memory. Not getrusage(): its maximum outlives exec, so a case
// would report the parent's memory.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

// A photo-like picture: smooth gradients with some detail, so JPEG has work to do.
QImage photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = qRgb((x * 255) / width, (y * 255) / height, ((x ^ y) * 7) & 0xff);
        }
    }
    return image;
}

struct Case
{
    const char *name;
    const char *file; // in the bench folder, or the test pictures' folder
    double drawRatio; // draw the loaded picture at this device pixel ratio; 0: don't draw
    bool expectOk;
};

const Case cases[] = {
    {"jpeg-4000x3000", "photo.jpg", 0, true},
    // 8 bits a pixel: a 24-bit bitmap this size (36 MB) is over the 16 MiB file limit.
    {"bmp-4000x3000-8bit", "photo.bmp", 0, true},
    {"bmp-4000x3000-24bit-refused", "photo24.bmp", 0, false},
    {"shapes.emf", "shapes.emf", 0, true},
    {"shapes.wmf", "shapes.wmf", 0, true},
    {"shapes.emf-drawn-at-ratio-2", "shapes.emf", 2.0, true},
    {"jpeg-4096x4096-refused", "big.jpg", 0, false},
};

// The files the cases load, written once before the cases run.
void prepare(const QString &folder)
{
    const QImage picture = photo(4000, 3000);
    picture.save(folder + QStringLiteral("/photo.jpg"), "JPEG", 90);
    picture.convertToFormat(QImage::Format_Indexed8).save(folder + QStringLiteral("/photo.bmp"), "BMP");
    picture.save(folder + QStringLiteral("/photo24.bmp"), "BMP");
    photo(4096, 4096).save(folder + QStringLiteral("/big.jpg"), "JPEG", 90);
}

QString pathOf(const Case &c, const QString &folder)
{
    const QString file = QLatin1String(c.file);
    return file.startsWith(QLatin1String("shapes")) ? QStringLiteral(BENCH_DATA_DIR "/") + file : folder + u'/' + file;
}

int runCase(const Case &c, const QString &folder)
{
    const QString path = pathOf(c, folder);
    const long before = peakKiB();
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const Result<Picture> result = loadPicture(path);
        if (c.drawRatio > 0 && result.ok()) {
            // A fresh load each run: the first drawing at a new ratio plays the metafile again.
            const QSize size = result->size();
            QImage image(size * c.drawRatio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(c.drawRatio);
            image.fill(Qt::white);
            QPainter painter(&image);
            result->draw(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (result.ok() != c.expectOk) {
            std::fprintf(stderr, "%s: unexpected result: %s\n", c.name, qPrintable(result.error()));
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("%-30s median %8.2f ms  min %8.2f ms  peak RSS %7ld KiB (before loading %ld KiB)\n",
        c.name,
        times[times.size() / 2],
        times.front(),
        peakKiB(),
        before);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 2) {
        for (const Case &c : cases) {
            if (qstrcmp(c.name, argv[1]) == 0) {
                return runCase(c, QString::fromLocal8Bit(argv[2]));
            }
        }
        std::fprintf(stderr, "unknown case %s\n", argv[1]);
        return 2;
    }
    QTemporaryDir dir;
    prepare(dir.path());
    int failures = 0;
    for (const Case &c : cases) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QCoreApplication::applicationFilePath(), {QLatin1String(c.name), dir.path()});
        process.waitForFinished(-1);
        failures += process.exitCode() != 0 ? 1 : 0;
    }
    return failures == 0 ? 0 : 1;
}
