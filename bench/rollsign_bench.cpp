// Times the roll sign's hot paths: reading a large face folder into the file list, and one Down
// step to a large JPEG face, from the key press until the sign box has painted it.
//
// Run: QT_QPA_PLATFORM=offscreen build/bin/rollsign_bench
#include "app/form1.h"
#include "rollsign/rollsignbox.h"
#include "rollsign/rollsigndeck.h"
#include "support/paintcounter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 7;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void makeFiles(const QString &folder, int count)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        // Mixed case and a few names that are not faces, as a real folder would have.
        const char *ending = i % 10 == 0 ? ".txt" : (i % 3 == 0 ? ".JPG" : ".bmp");
        QFile file(folder + QStringLiteral("/Face%1%2").arg(i, 6, 10, QLatin1Char('0')).arg(QLatin1StringView(ending)));
        file.open(QIODevice::WriteOnly);
    }
}

void benchListing(const QTemporaryDir &root, int count)
{
    const QString folder = root.filePath(QStringLiteral("list%1").arg(count));
    makeFiles(folder, count);
    std::vector<double> times;
    int listed = 0;
    for (int run = 0; run < Runs; ++run) {
        FileList list;
        QElapsedTimer timer;
        timer.start();
        const bool ok = list.setPath(folder).ok();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        listed = ok ? list.count() : -1;
    }
    std::printf("list %6d files (%6d faces): median %8.2f ms, slowest %8.2f ms\n",
        count,
        listed,
        median(times),
        *std::max_element(times.begin(), times.end()));
}

void benchDownStep(const QTemporaryDir &root)
{
    const QString folder = root.filePath(QStringLiteral("large"));
    QDir().mkpath(folder);
    // A photograph-like face: smooth gradients with fine detail, so the JPEG is not trivially small.
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            line[x] = qRgb((x / 16) % 256, (y / 12) % 256, ((x * y) >> 5) % 256);
        }
    }
    for (int i = 0; i < Runs + 1; ++i) {
        image.save(folder + QStringLiteral("/%1.jpg").arg(i, 2, 10, QLatin1Char('0')), "JPEG", 90);
    }
    std::printf("JPEG face: %lld bytes, 4000 x 3000\n",
        static_cast<long long>(QFile(folder + QStringLiteral("/00.jpg")).size()));

    Form1 form({});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::printf("the bus window did not show\n");
        return;
    }
    form.findChild<RollSignDeck *>()->rollSign().setDesiMakuPath(QDir::toNativeSeparators(folder));
    form.picDir();
    RollSignBox *picture1 = form.findChild<RollSignBox *>(QStringLiteral("Picture1"));
    picture1->setFocus();
    PaintCounter counter;
    picture1->installEventFilter(&counter);

    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QCoreApplication::processEvents();
        const int before = counter.paints;
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(picture1, Qt::Key_Down);
        for (int spin = 0; spin < 1000 && counter.paints == before; ++spin) {
            QCoreApplication::processEvents();
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (counter.paints == before || picture1->face().size() != QSize(4000, 3000)) {
            std::printf("the face was not shown\n");
            return;
        }
    }
    std::printf("Down to a 4000 x 3000 JPEG, key to painted: median %8.2f ms, slowest %8.2f ms\n",
        median(times),
        *std::max_element(times.begin(), times.end()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir root;
    benchListing(root, 10000);
    benchListing(root, 100000);
    benchDownStep(root);
    return 0;
}
