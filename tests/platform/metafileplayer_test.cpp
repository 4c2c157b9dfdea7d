#include "emfwriter.h"
#include "metafile.h"
#include "pictureloader.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name);
}

// The picture drawn over a white image of `size` logical pixels at a device pixel ratio.
QImage drawn(const Picture &picture, QSize size, qreal ratio = 1.0)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.draw(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

bool near(QRgb pixel, QColor expected, int tolerance = 8)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance
        && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

// A picture built in memory, played at its own size over transparency.
QImage played(const QByteArray &data, QString *error = nullptr)
{
    const Metafile::ReadResult read = Metafile::read(data);
    if (!read.document) {
        if (error) {
            *error = read.error;
        }
        return {};
    }
    QImage image(read.document->size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QString playError = Metafile::play(*read.document, &image);
    if (error) {
        *error = playError;
    }
    return playError.isEmpty() ? image : QImage();
}

// A 96 x 96 picture on white with a solid brush of `colour` and no pen selected.
EmfWriter whitePicture(quint32 colour)
{
    EmfWriter emf(QSize(96, 96));
    emf.record(Emr::SelectObject, {qint32(Emr::NullPen)})
        .record(Emr::SelectObject, {qint32(Emr::WhiteBrush)})
        .record(Emr::Rectangle, {0, 0, 97, 97})
        .record(Emr::CreateBrush, {1, 0, qint32(colour), 0})
        .record(Emr::SelectObject, {1});
    return emf;
}

constexpr quint32 Red = 0x0000ff;
constexpr quint32 Blue = 0xff0000;

} // namespace

class MetafilePlayerTest : public QObject
{
    Q_OBJECT

private slots:
    void redRectangle_coversExactlyItsPixels_data();
    void redRectangle_coversExactlyItsPixels();
    void redRectangle_atDoubleRatio_isSharpAndInPlace();
    void quadrants_mapWindowAndFrameOntoPicture_data();
    void quadrants_mapWindowAndFrameOntoPicture();
    void margins_keptAndOutsideTransparent_data();
    void margins_keptAndOutsideTransparent();
    void shapes_fillsPensTextAndBitmap_data();
    void shapes_fillsPensTextAndBitmap();
    void metricMappingMode_usesReferenceDevice();
    void pieAndChord_fillTheirPart();
    void arc_followsArcDirection();
    void path_filledAsOneShape();
    void clipping_rectanglesAndPathsAndRestore();
    void badGeometry_isDropped();
    void broken_failsCleanly_data();
    void broken_failsCleanly();
    void tooManySavedStates_fails();
    void tooManyRecords_fails();
    void stretchBlt_topDownBitmapInPlace();
    void embeddedBitmapOverLimits_fails_data();
    void embeddedBitmapOverLimits_fails();
};

void MetafilePlayerTest::redRectangle_coversExactlyItsPixels_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("emf") << fixture("red52x32.emf");
    QTest::newRow("placeable wmf") << fixture("red52x32.wmf");
}

void MetafilePlayerTest::redRectangle_coversExactlyItsPixels()
{
    QFETCH(QString, file);
    const PictureLoadResult result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), QSize(52, 32));
    const QImage image = drawn(result.picture, QSize(52, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 52; ++x) {
            const bool inside = x >= 10 && x <= 29 && y >= 8 && y <= 23;
            const QColor expected = inside ? QColor(Qt::red) : QColor(Qt::white);
            QVERIFY2(near(image.pixel(x, y), expected, 2), qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void MetafilePlayerTest::redRectangle_atDoubleRatio_isSharpAndInPlace()
{
    const PictureLoadResult result = loadPicture(fixture("red52x32.emf"));
    QVERIFY(result.ok());
    const QImage image = drawn(result.picture, QSize(52, 32), 2.0);
    QCOMPARE(image.size(), QSize(104, 64));
    // Device pixels 20..59 and 16..47, with no blurred edge: played at the ratio, not scaled up.
    for (int x = 18; x < 62; ++x) {
        const bool inside = x >= 20 && x <= 59;
        QVERIFY2(
            near(image.pixel(x, 30), inside ? QColor(Qt::red) : QColor(Qt::white), 2), qPrintable(QString::number(x)));
    }
    for (int y = 14; y < 50; ++y) {
        const bool inside = y >= 16 && y <= 47;
        QVERIFY2(
            near(image.pixel(40, y), inside ? QColor(Qt::red) : QColor(Qt::white), 2), qPrintable(QString::number(y)));
    }
}

void MetafilePlayerTest::quadrants_mapWindowAndFrameOntoPicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("anisotropic, y up") << fixture("aniso.emf") << QSize(200, 100);
    QTest::newRow("1200 dpi reference device") << fixture("hires.emf") << QSize(96, 48);
    QTest::newRow("offset bounding box") << fixture("bbox_offset.wmf") << QSize(192, 96);
}

void MetafilePlayerTest::quadrants_mapWindowAndFrameOntoPicture()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const PictureLoadResult result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), size);
    const QImage image = drawn(result.picture, size);
    const int w = size.width();
    const int h = size.height();
    // Each quadrant's pixels, leaving out one pixel along the lines between them.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (std::abs(x - w / 2) <= 1 || std::abs(y - h / 2) <= 1) {
                continue;
            }
            QColor expected = Qt::white;
            if (x < w / 2 && y < h / 2) {
                expected = Qt::red;
            } else if (x > w / 2 && y > h / 2) {
                expected = Qt::blue;
            }
            QVERIFY2(near(image.pixel(x, y), expected, 12), qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void MetafilePlayerTest::margins_keptAndOutsideTransparent_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("emf") << fixture("margins.emf");
    QTest::newRow("wmf") << fixture("margins.wmf");
}

void MetafilePlayerTest::margins_keptAndOutsideTransparent()
{
    QFETCH(QString, file);
    const PictureLoadResult result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), QSize(96, 96));
    QImage image(96, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    result.picture.draw(&painter, QRectF(0, 0, 96, 96));
    painter.end();
    int left = 96, right = -1, top = 96, bottom = -1;
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            if (isRed(image.pixel(x, y)) && qAlpha(image.pixel(x, y)) > 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    QCOMPARE(left, 10);
    QCOMPARE(right, 85);
    QCOMPARE(top, 10);
    QCOMPARE(bottom, 89);
    // Nothing is drawn in the margins: whatever is behind the picture shows through.
    QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
    QCOMPARE(qAlpha(image.pixel(93, 93)), 0);
}

void MetafilePlayerTest::shapes_fillsPensTextAndBitmap_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("emf") << fixture("shapes.emf");
    QTest::newRow("wmf, twips, Shift-JIS text") << fixture("shapes.wmf");
}

void MetafilePlayerTest::shapes_fillsPensTextAndBitmap()
{
    QFETCH(QString, file);
    const PictureLoadResult result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), QSize(400, 300));
    const QImage image = drawn(result.picture, QSize(400, 300));

    // Fills.
    QVERIFY(near(image.pixel(80, 60), QColor(0, 0, 255)));
    QVERIFY(near(image.pixel(200, 60), QColor(0, 160, 0)));
    QVERIFY(near(image.pixel(330, 60), QColor(255, 200, 0)));
    // The rectangle's one-pixel black outline on its edge pixels.
    QVERIFY(near(image.pixel(20, 60), QColor(Qt::black)));
    QVERIFY(near(image.pixel(139, 60), QColor(Qt::black)));
    QVERIFY(near(image.pixel(140, 60), QColor(Qt::white)));
    // The ellipse's red outline is three pixels wide.
    int redAcross = 0;
    for (int x = 274; x < 292; ++x) {
        redAcross += isRed(image.pixel(x, 60)) ? 1 : 0;
    }
    QVERIFY2(redAcross >= 2 && redAcross <= 4, qPrintable(QString::number(redAcross)));
    // The polyline is 12 wide: where it falls at slope 0.6, a column crosses about 14 pixels.
    int magenta = 0;
    for (int y = 130; y < 200; ++y) {
        magenta += near(image.pixel(70, y), QColor(200, 0, 200), 40) ? 1 : 0;
    }
    QVERIFY2(magenta >= 12 && magenta <= 16, qPrintable(QString::number(magenta)));

    // Text: black Latin and red Japanese, each where it was placed.
    int black = 0;
    int red = 0;
    for (int y = 218; y < 290; ++y) {
        for (int x = 16; x < 180; ++x) {
            const QRgb p = image.pixel(x, y);
            black += (y < 252 && qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80) ? 1 : 0;
            red += (y >= 252 && isRed(p)) ? 1 : 0;
        }
    }
    QVERIFY2(black > 100, qPrintable(QString::number(black)));
    QVERIFY2(red > 100, qPrintable(QString::number(red)));
    // The three Japanese characters sit at their own advances of 24 pixels: ink in each cell.
    for (int cell = 0; cell < 3; ++cell) {
        int ink = 0;
        for (int y = 256; y < 282; ++y) {
            for (int x = 20 + 24 * cell; x < 44 + 24 * cell; ++x) {
                ink += isRed(image.pixel(x, y)) ? 1 : 0;
            }
        }
        QVERIFY2(ink > 30, qPrintable(QStringLiteral("character %1: %2").arg(cell).arg(ink)));
    }

    // The 8 x 8 bitmap stretched to (280,220)-(376,284), quadrants in place.
    QVERIFY(near(image.pixel(300, 236), QColor(255, 0, 0)));
    QVERIFY(near(image.pixel(356, 236), QColor(0, 255, 0)));
    QVERIFY(near(image.pixel(300, 268), QColor(0, 0, 255)));
    QVERIFY(near(image.pixel(356, 268), QColor(128, 128, 128)));
    QVERIFY(near(image.pixel(281, 221), QColor(255, 0, 0)));
    QVERIFY(near(image.pixel(374, 282), QColor(128, 128, 128)));
}

void MetafilePlayerTest::metricMappingMode_usesReferenceDevice()
{
    // Hundredths of a millimetre, y up: 12.7 mm is 48 pixels at 96 dots per inch.
    const QImage image =
        played(whitePicture(Red).record(Emr::SetMapMode, {3}).record(Emr::Rectangle, {0, -1270, 1270, -2540}).finish());
    QVERIFY(!image.isNull());
    QVERIFY(isRed(image.pixel(24, 72)));
    QVERIFY(isRed(image.pixel(46, 94)));
    QVERIFY(near(image.pixel(24, 24), Qt::white));
    QVERIFY(near(image.pixel(72, 72), Qt::white));
    QVERIFY(near(image.pixel(50, 72), Qt::white));
}

void MetafilePlayerTest::pieAndChord_fillTheirPart()
{
    // Counter-clockwise from 0 to 90 degrees: the top-right part.
    const QImage pie = played(whitePicture(Red).record(Emr::Pie, {0, 0, 96, 96, 96, 48, 48, 0}).finish());
    QVERIFY(!pie.isNull());
    QVERIFY(isRed(pie.pixel(70, 25)));
    QVERIFY(near(pie.pixel(25, 25), Qt::white));
    QVERIFY(near(pie.pixel(25, 70), Qt::white));
    QVERIFY(near(pie.pixel(70, 70), Qt::white));

    const QImage chord = played(whitePicture(Red).record(Emr::Chord, {0, 0, 96, 96, 96, 48, 48, 0}).finish());
    QVERIFY(!chord.isNull());
    QVERIFY(isRed(chord.pixel(80, 16)));
    QVERIFY(near(chord.pixel(70, 40), Qt::white)); // inside the pie, beyond the chord's line
}

void MetafilePlayerTest::arc_followsArcDirection()
{
    const auto arcPicture = [](bool clockwise) {
        EmfWriter emf = whitePicture(Red);
        emf.record(Emr::CreatePen, {2, 0x10000, 6, 0, qint32(Red)}).record(Emr::SelectObject, {2});
        if (clockwise) {
            emf.record(Emr::SetArcDirection, {2});
        }
        return played(emf.record(Emr::Arc, {8, 8, 88, 88, 88, 48, 48, 8}).finish());
    };
    // On the circle at 45 degrees (top right) and at 225 degrees (bottom left).
    const QImage counterClockwise = arcPicture(false);
    QVERIFY(isRed(counterClockwise.pixel(76, 20)));
    QVERIFY(near(counterClockwise.pixel(20, 76), Qt::white));
    const QImage clockwise = arcPicture(true);
    QVERIFY(near(clockwise.pixel(76, 20), Qt::white));
    QVERIFY(isRed(clockwise.pixel(20, 76)));
}

void MetafilePlayerTest::path_filledAsOneShape()
{
    const QImage image = played(whitePicture(Blue)
                                    .record(Emr::BeginPath, {})
                                    .record(Emr::MoveTo, {10, 10})
                                    .record(Emr::LineTo, {86, 10})
                                    .record(Emr::LineTo, {48, 86})
                                    .record(Emr::CloseFigure, {})
                                    .record(Emr::EndPath, {})
                                    .record(Emr::FillPath, {0, 0, 96, 96})
                                    .finish());
    QVERIFY(!image.isNull());
    QVERIFY(near(image.pixel(48, 30), Qt::blue));
    QVERIFY(near(image.pixel(15, 80), Qt::white));
    QVERIFY(near(image.pixel(80, 80), Qt::white));
}

void MetafilePlayerTest::clipping_rectanglesAndPathsAndRestore()
{
    const QImage image = played(whitePicture(Red)
                                    .record(Emr::SaveDc, {})
                                    .record(Emr::IntersectClipRect, {0, 0, 48, 96})
                                    .record(Emr::ExcludeClipRect, {0, 0, 20, 20})
                                    .record(Emr::Rectangle, {0, 0, 97, 97})
                                    .record(Emr::RestoreDc, {-1})
                                    // Clip to a triangle path, then fill the bottom band.
                                    .record(Emr::BeginPath, {})
                                    .record(Emr::MoveTo, {48, 60})
                                    .record(Emr::LineTo, {96, 60})
                                    .record(Emr::LineTo, {96, 96})
                                    .record(Emr::CloseFigure, {})
                                    .record(Emr::EndPath, {})
                                    .record(Emr::SelectClipPath, {5})
                                    .record(Emr::CreateBrush, {3, 0, qint32(Blue), 0})
                                    .record(Emr::SelectObject, {3})
                                    .record(Emr::Rectangle, {0, 50, 97, 97})
                                    .finish());
    QVERIFY(!image.isNull());
    QVERIFY(isRed(image.pixel(30, 40)));
    QVERIFY(near(image.pixel(10, 10), Qt::white)); // excluded
    QVERIFY(near(image.pixel(70, 40), Qt::white)); // outside the first clip
    QVERIFY(near(image.pixel(90, 70), Qt::blue)); // inside the triangle
    QVERIFY(near(image.pixel(60, 90), Qt::white)); // below its diagonal
    QVERIFY(isRed(image.pixel(30, 90))); // left of the triangle, from the first fill
}

void MetafilePlayerTest::badGeometry_isDropped()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QByteArray nanTransform;
    for (const float f : {nan, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) {
        nanTransform.append(reinterpret_cast<const char *>(&f), 4);
    }
    const QImage image = played(whitePicture(Red)
                                    .record(Emr::Rectangle, {-20000000, 0, 20000000, 96})
                                    .raw(Emr::SetWorldTransform, nanTransform)
                                    .record(Emr::PolyBezier16, {0, 0, 0, 0, 3, 0, 0, 0x7fff7fff})
                                    .record(Emr::Rectangle, {40, 40, 50, 50})
                                    .finish());
    QVERIFY(!image.isNull());
    QVERIFY(near(image.pixel(10, 10), Qt::white)); // the huge rectangle is left out
    QVERIFY(isRed(image.pixel(45, 45))); // later shapes still drawn, untransformed
}

void MetafilePlayerTest::broken_failsCleanly_data()
{
    QTest::addColumn<QByteArray>("data");
    QFile file(fixture("red52x32.emf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();

    QTest::newRow("cut in half") << good.left(good.size() / 2 + 2);
    QByteArray zeroSize = good;
    const qint32 zero = 0;
    const qint32 headerSize = *reinterpret_cast<const qint32 *>(good.constData() + 4);
    std::memcpy(zeroSize.data() + headerSize + 4, &zero, 4);
    QTest::newRow("record of size 0") << zeroSize;
    QByteArray huge = good;
    const qint32 big = 0x7ffffff0;
    std::memcpy(huge.data() + headerSize + 4, &big, 4);
    QTest::newRow("record past the end") << huge;
    QByteArray emptyFrame = good;
    std::memcpy(emptyFrame.data() + 32, &zero, 4);
    QTest::newRow("empty frame") << emptyFrame;
    QTest::newRow("over 4096 pixels a side") << EmfWriter(QSize(5000, 10)).finish();
    QTest::newRow("over 16 million pixels") << EmfWriter(QSize(4096, 4000)).finish();
    QTest::newRow("header only") << good.left(88);

    QFile plain(fixture("red52x32_noapm.wmf"));
    QVERIFY(plain.open(QIODevice::ReadOnly));
    QTest::newRow("wmf without placeable header") << plain.readAll();
    QFile wmf(fixture("red52x32.wmf"));
    QVERIFY(wmf.open(QIODevice::ReadOnly));
    QByteArray noUnits = wmf.readAll();
    noUnits[14] = 0;
    noUnits[15] = 0;
    QTest::newRow("wmf with no units per inch") << noUnits;
    QByteArray badWmfRecord = noUnits;
    badWmfRecord[14] = char(96);
    std::memcpy(badWmfRecord.data() + 40, &big, 4);
    QTest::newRow("wmf record past the end") << badWmfRecord;
}

void MetafilePlayerTest::broken_failsCleanly()
{
    QFETCH(QByteArray, data);
    QString error;
    QVERIFY(played(data, &error).isNull());
    QVERIFY(!error.isEmpty());
}

void MetafilePlayerTest::tooManySavedStates_fails()
{
    EmfWriter emf(QSize(10, 10));
    for (int i = 0; i < Metafile::MaxSavedStates + 1; ++i) {
        emf.record(Emr::SaveDc, {});
    }
    QString error;
    QVERIFY(played(emf.finish(), &error).isNull());
    QVERIFY(!error.isEmpty());

    EmfWriter balanced(QSize(10, 10));
    for (int i = 0; i < 2000; ++i) {
        balanced.record(Emr::SaveDc, {}).record(Emr::RestoreDc, {-1});
    }
    QVERIFY(!played(balanced.finish()).isNull());
}

void MetafilePlayerTest::tooManyRecords_fails()
{
    EmfWriter emf(QSize(10, 10));
    for (int i = 0; i < Metafile::MaxRecords; ++i) {
        emf.record(Emr::SetBkMode, {1});
    }
    QString error;
    QVERIFY(played(emf.finish(), &error).isNull()); // the end record is one too many
    QVERIFY(!error.isEmpty());
}

void MetafilePlayerTest::stretchBlt_topDownBitmapInPlace()
{
    // A 2 x 2 top-down 32-bit bitmap, rows red green / blue white, stretched to (10,10)-(30,30).
    QByteArray params = EmfWriter::ints({10, 10, 29, 29, 10, 10, 20, 20, 0xCC0020, 0, 0});
    const float identity[] = {1, 0, 0, 1, 0, 0};
    params.append(reinterpret_cast<const char *>(identity), sizeof identity);
    params += EmfWriter::ints({0, 0, 108, 40, 148, 16, 2, 2});
    params += EmfWriter::ints({40, 2, -2, 0x200001, 0, 16, 0, 0, 0, 0});
    params += EmfWriter::ints({0x00ff0000, 0x0000ff00, 0x000000ff, 0x00ffffff});
    constexpr quint32 StretchBlt = 77;
    QString error;
    const QImage image = played(whitePicture(Red).raw(StretchBlt, params).finish(), &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QVERIFY(near(image.pixel(15, 15), Qt::red));
    QVERIFY(near(image.pixel(25, 15), Qt::green));
    QVERIFY(near(image.pixel(15, 25), Qt::blue));
    QVERIFY(near(image.pixel(25, 25), Qt::white));
    QVERIFY(near(image.pixel(5, 5), Qt::white));
    QVERIFY(near(image.pixel(35, 35), Qt::white));
}

void MetafilePlayerTest::embeddedBitmapOverLimits_fails_data()
{
    QTest::addColumn<qint32>("width");
    QTest::addColumn<qint32>("height");
    QTest::addColumn<qint32>("bitsSize");
    QTest::newRow("5000 x 4000 pixels") << 5000 << 4000 << 16;
    QTest::newRow("bits shorter than the rows") << 8 << 8 << 16;
    QTest::newRow("bits past the record") << 2 << 2 << 4000;
}

void MetafilePlayerTest::embeddedBitmapOverLimits_fails()
{
    QFETCH(qint32, width);
    QFETCH(qint32, height);
    QFETCH(qint32, bitsSize);
    // StretchDIBits of a 24-bit bitmap with 16 bytes of bits after its header.
    QByteArray params = EmfWriter::ints({0, 0, 10, 10, 0, 0, 0, 0, 1, 1});
    params += EmfWriter::ints({80, 40, 120, bitsSize, 0, 0xCC0020, 10, 10});
    params += EmfWriter::ints({40, width, height, 0x180001, 0, 0, 0, 0, 0, 0});
    params += QByteArray(16, '\x7f');
    QString error;
    QVERIFY(played(whitePicture(Red).raw(Emr::StretchDiBits, params).finish(), &error).isNull());
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(MetafilePlayerTest)
#include "metafileplayer_test.moc"
