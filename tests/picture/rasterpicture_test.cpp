#include "picture/artworkicon.h"
#include "picture/rasterpicture.h"
#include "resources/resourcepaths.h"
#include "support/files.h"
#include "support/pictures.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace {

// A vector picture with hard edges and a diagonal, so scaling and banding faults show.
Picture testDrawing()
{
    return Picture(QSize(56, 152), [](QPainter *painter, const QRectF &target) {
        painter->save();
        painter->translate(target.topLeft());
        painter->scale(target.width() / 56.0, target.height() / 152.0);
        painter->fillRect(QRectF(0, 0, 56, 152), QColor(40, 60, 80));
        painter->fillRect(QRectF(6, 10, 44, 60), QColor(150, 200, 230));
        painter->fillRect(QRectF(6, 80, 44, 60), QColor(150, 200, 230));
        painter->setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
        painter->drawLine(QPointF(4, 4), QPointF(52, 148));
        painter->restore();
    });
}

QImage paint(const Picture &picture, qreal ratio, const QRectF &target)
{
    QImage image(QSize(int(80 * ratio), int(170 * ratio)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    picture.draw(&painter, target);
    return image;
}

// Writes an SVG drawing of one solid colour.
void writeSvg(const QString &path, const char *colour)
{
    writeBytes(path,
        QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"10\">"
                   "<rect width=\"20\" height=\"10\" fill=\"")
            + colour + "\"/></svg>");
}

} // namespace

class RasterPictureTest : public QObject
{
    Q_OBJECT

private slots:
    void draw_isOneSmoothCopyAtThePaintersRatio_data();
    void draw_isOneSmoothCopyAtThePaintersRatio();
    void prerenderedSvg_drawsAsTheSvgAtEveryRatio();
    void builtInCopy_isTakenAtRatioOneAndItsSizeOnly();
    void builtInCopies_areTheArtworkAsRenderedNow_data();
    void builtInCopies_areTheArtworkAsRenderedNow();
};

void RasterPictureTest::draw_isOneSmoothCopyAtThePaintersRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRectF>("target");
    QTest::newRow("unscaled, 100 %") << 1.0 << QRectF(10, 8, 56, 152);
    QTest::newRow("unscaled, 150 %") << 1.5 << QRectF(10, 8, 56, 152);
    QTest::newRow("narrowed by one twip") << 1.0 << QRectF(5, 3, 55.9333, 153);
    QTest::newRow("almost open, 150 %") << 1.5 << QRectF(5, 3, 7.3333, 153);
    QTest::newRow("fractional top, 200 %") << 2.0 << QRectF(5, 3.4, 30.5, 150.2);
}

void RasterPictureTest::draw_isOneSmoothCopyAtThePaintersRatio()
{
    QFETCH(qreal, ratio);
    QFETCH(QRectF, target);
    const Picture raster = rasterPicture(testDrawing());
    // Drawn at another ratio first, so the copy has to follow the ratio.
    paint(raster, ratio == 1.0 ? 2.0 : 1.0, target);

    // The drawing copied at this ratio and drawn in one piece is what the bands must add up to.
    QImage copy(QSize(int(56 * ratio), int(152 * ratio)), QImage::Format_ARGB32_Premultiplied);
    copy.setDevicePixelRatio(ratio);
    copy.fill(Qt::transparent);
    {
        QPainter painter(&copy);
        painter.setRenderHint(QPainter::Antialiasing, true);
        testDrawing().draw(&painter, QRectF(0, 0, 56, 152));
    }
    const QImage whole =
        paint(Picture(QSize(56, 152), [copy](QPainter *painter, const QRectF &to) { painter->drawImage(to, copy); }),
            ratio,
            target);

    const int difference = largestDifference(paint(raster, ratio, target), whole);
    QVERIFY2(difference <= 4, qPrintable(QString::number(difference)));
}

void RasterPictureTest::prerenderedSvg_drawsAsTheSvgAtEveryRatio()
{
    const QString path = ResourcePaths::frontDoor();
    const QRectF target(10, 8, 69, 152);
    // Several at once, as the bus window asks for its artwork, so they are rendered side by side.
    std::vector<Picture> pictures;
    for (int i = 0; i < 6; ++i) {
        pictures.push_back(prerenderedSvgPicture(path, QSize(69, 152)));
    }
    const Picture vector = svgPicture(path, QSize(69, 152)).valueOr(Picture());
    QVERIFY(!vector.isNull());

    // The screen's ratio (the copy made ahead), then others, then the screen's again.
    for (const qreal ratio : {1.0, 2.0, 1.5, 1.0}) {
        const QImage expected = paint(rasterPicture(vector), ratio, target);
        for (const Picture &picture : pictures) {
            QCOMPARE(picture.size(), QSize(69, 152));
            QCOMPARE(paint(picture, ratio, target), expected);
        }
    }

    // A drawing that cannot be read draws nothing, ahead or on the spot.
    QVERIFY(!svgPicture(QStringLiteral(":/images/no-such.svg"), QSize(20, 20)).ok());
    const Picture missing = prerenderedSvgPicture(QStringLiteral(":/images/no-such.svg"), QSize(20, 20));
    QCOMPARE(paint(missing, 1.0, target), paint(Picture(), 1.0, target));
    QCOMPARE(paint(missing, 2.0, target), paint(Picture(), 2.0, target));
}

void RasterPictureTest::builtInCopy_isTakenAtRatioOneAndItsSizeOnly()
{
    // A copy that is not the drawing's, so it shows which of the two is drawn.
    QTemporaryDir dir;
    const QString drawing = dir.filePath(QStringLiteral("drawing.svg"));
    writeSvg(drawing, "blue");
    const QString other = dir.filePath(QStringLiteral("other.svg"));
    writeSvg(other, "red");
    writeBytes(rasterCopyPath(drawing, QSize(20, 10)), rasterCopyFile(other, QSize(20, 10)));

    const QRectF target(10, 8, 20, 10);
    const auto colourAt = [&target](const Picture &picture, qreal ratio) {
        return paint(picture, ratio, target).pixelColor(QPointF(15 * ratio, 12 * ratio).toPoint());
    };
    const Picture prerendered = prerenderedSvgPicture(drawing, QSize(20, 10));
    QCOMPARE(colourAt(prerendered, 1.0), QColor(Qt::red));
    QCOMPARE(colourAt(prerendered, 2.0), QColor(Qt::blue));
    QCOMPARE(colourAt(prerenderedSvgPicture(drawing, QSize(20, 11)), 1.0), QColor(Qt::blue));

    // The window icon: the window system is offered the sizes built in and given those copies;
    // any other size or ratio is rendered from the drawing.
    writeBytes(rasterCopyPath(drawing, QSize(16, 16)), rasterCopyFile(other, QSize(16, 16)));
    const QIcon icon = artworkIcon(drawing, {QSize(16, 16)});
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
    const auto iconColour = [&icon](QSize size, qreal ratio) {
        const QImage image = icon.pixmap(size, ratio).toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    QCOMPARE(iconColour(QSize(16, 16), 1.0), QColor(Qt::red));
    QCOMPARE(iconColour(QSize(24, 24), 1.0), QColor(Qt::blue));
    QCOMPARE(iconColour(QSize(16, 16), 2.0), QColor(Qt::blue));
    QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
}

void RasterPictureTest::builtInCopies_areTheArtworkAsRenderedNow_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("bus") << ResourcePaths::bus() << QSize(776, 216);
    QTest::newRow("front door") << ResourcePaths::frontDoor() << QSize(69, 152);
    QTest::newRow("middle door, left") << ResourcePaths::middleLeft() << QSize(56, 152);
    QTest::newRow("middle door, right") << ResourcePaths::middleRight() << QSize(56, 152);
    QTest::newRow("default face") << ResourcePaths::defaultFace() << QSize(52, 32);
    QTest::newRow("interior") << ResourcePaths::interior() << QSize(76, 142);
    QTest::newRow("interior, second") << ResourcePaths::interior2() << QSize(76, 141);
    for (const QSize size : ResourcePaths::iconSizes()) {
        QTest::addRow("icon %d", size.width()) << ResourcePaths::icon() << size;
    }
}

void RasterPictureTest::builtInCopies_areTheArtworkAsRenderedNow()
{
    // Each piece of the bus window's artwork is built in at the size the window draws it at, and
    // its icon at each size the window system takes, as the drawing renders now: the start
    // renders none of it.
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QVERIFY(readBytes(rasterCopyPath(path, size)) == rasterCopyFile(path, size));
}

QTEST_MAIN(RasterPictureTest)
#include "rasterpicture_test.moc"
