#include "emfwriter.h"
#include "metafile/metafile.h"
#include "picture/pictureloader.h"
#include "support/files.h"
#include "support/littleendian.h"
#include "support/pictures.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include <limits>

namespace {

// The picture drawn over `background` in an image of `size` logical pixels at a device pixel ratio.
QImage drawn(const Picture &picture, QSize size, qreal ratio = 1.0, QColor background = Qt::white)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    picture.draw(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

// Checks pixels listed as "x,y:colour x,y:colour ...", colours by name or as #rgb.
void checkPixels(const QImage &image, const QString &expected, int tolerance)
{
    for (const QString &item : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QRegularExpression(QStringLiteral("[,:]")));
        const QPoint at(parts[0].toInt(), parts[1].toInt());
        QVERIFY2(near(image.pixel(at), QColor(parts[2]), tolerance),
            qPrintable(item + QLatin1String(" is ") + QColor(image.pixel(at)).name()));
    }
}

// A picture built in memory, played at its own size over transparency.
Result<QImage> played(const QByteArray &data)
{
    const Result<std::shared_ptr<const Metafile::Document>> read = Metafile::read(data);
    if (!read) {
        return failure(read.error());
    }
    const Result<QImage, Metafile::PlayFailure> image = Metafile::play(**read, (*read)->size);
    if (!image) {
        return failure(image.error().description);
    }
    return *image;
}

constexpr quint32 Red = 0x0000ff;
constexpr quint32 Blue = 0xff0000;

// A 96 x 96 picture on white with a solid brush of `colour` and no pen selected.
EmfWriter whitePicture(quint32 colour = Red)
{
    EmfWriter emf(QSize(96, 96));
    emf.record(Emr::SelectObject, {qint32(Emr::NullPen)})
        .record(Emr::SelectObject, {qint32(Emr::WhiteBrush)})
        .record(Emr::Rectangle, {0, 0, 97, 97})
        .record(Emr::CreateBrush, {1, 0, qint32(colour), 0})
        .record(Emr::SelectObject, {1});
    return emf;
}

// Adds a closed path of three corners.
EmfWriter &triangle(EmfWriter &emf, QPoint a, QPoint b, QPoint c)
{
    return emf.record(Emr::BeginPath, {})
        .record(Emr::MoveTo, {a.x(), a.y()})
        .record(Emr::LineTo, {b.x(), b.y()})
        .record(Emr::LineTo, {c.x(), c.y()})
        .record(Emr::CloseFigure, {})
        .record(Emr::EndPath, {});
}

// A red circle arc, six pixels wide, from 0 to 90 degrees in the given direction.
QByteArray arc(bool clockwise)
{
    EmfWriter emf = whitePicture();
    emf.record(Emr::CreatePen, {2, 0x10000, 6, 0, qint32(Red)}).record(Emr::SelectObject, {2});
    if (clockwise) {
        emf.record(Emr::SetArcDirection, {2});
    }
    return emf.record(Emr::Arc, {8, 8, 88, 88, 88, 48, 48, 8}).finish();
}

// "HH" three times in a font 20 pixels high, each character given an advance of 20 pixels, on an
// opaque background of the text's own blue: each text covers its box, 40 pixels wide and as
// high as the font's cell, wherever its alignment puts it. Centred at x 48 and hanging from
// y 2; right-aligned at x 68 and standing on y 60; from x 28 on the baseline y 88. Each box spans
// x 28 to 68.
QByteArray alignedText()
{
    EmfWriter emf = whitePicture();
    emf.record(
           Emr::ExtCreateFontIndirectW, {1, -20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        .record(Emr::SelectObject, {1})
        .record(Emr::SetBkMode, {2})
        .record(Emr::SetBkColor, {qint32(Blue)})
        .record(Emr::SetTextColor, {qint32(Blue)});
    constexpr qint32 Centre = 6, Right = 2, Bottom = 8, Baseline = 24;
    const struct
    {
        qint32 align, x, y;
    } texts[] = {{Centre, 48, 2}, {Right | Bottom, 68, 60}, {Baseline, 28, 88}};
    for (const auto &text : texts) {
        // Bounds, graphics mode, scales, reference point, 2 characters at 76, no options, no
        // rectangle, advances at 80; then "HH" and the two advances.
        emf.record(Emr::SetTextAlign, {text.align})
            .record(Emr::ExtTextOutW,
                {0, 0, 96, 96, 1, 0, 0, text.x, text.y, 2, 76, 0, 0, 0, 0, 0, 80, 0x00480048, 20, 20});
    }
    return emf.finish();
}

// A 2 x 2 top-down 32-bit bitmap, rows red green / blue white, stretched to (10,10)-(30,30).
QByteArray stretchBlt()
{
    QByteArray params = le32({10, 10, 29, 29, 10, 10, 20, 20, 0xCC0020, 0, 0});
    const float identity[] = {1, 0, 0, 1, 0, 0};
    params.append(reinterpret_cast<const char *>(identity), sizeof identity);
    params += le32({0, 0, 108, 40, 148, 16, 2, 2});
    params += le32({40, 2, -2, 0x200001, 0, 16, 0, 0, 0, 0});
    params += le32({0x00ff0000, 0x0000ff00, 0x000000ff, 0x00ffffff});
    constexpr quint32 StretchBlt = 77;
    return whitePicture().raw(StretchBlt, params).finish();
}

// A huge rectangle, a transform of NaN and a Bézier curve far out, then a small rectangle.
QByteArray badGeometry()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QByteArray nanTransform;
    for (const float f : {nan, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) {
        nanTransform.append(reinterpret_cast<const char *>(&f), 4);
    }
    return whitePicture()
        .record(Emr::Rectangle, {-20000000, 0, 20000000, 96})
        .raw(Emr::SetWorldTransform, nanTransform)
        .record(Emr::PolyBezier16, {0, 0, 0, 0, 3, 0, 0, 0x7fff7fff})
        .record(Emr::Rectangle, {40, 40, 50, 50})
        .finish();
}

// StretchDIBits of a 24-bit bitmap of the given size with 16 bytes of bits after its header.
QByteArray stretchDiBits(qint32 width, qint32 height, qint32 bitsSize)
{
    QByteArray params = le32({0, 0, 10, 10, 0, 0, 0, 0, 1, 1});
    params += le32({80, 40, 120, bitsSize, 0, 0xCC0020, 10, 10});
    params += le32({40, width, height, 0x180001, 0, 0, 0, 0, 0, 0});
    params += QByteArray(16, '\x7f');
    return whitePicture().raw(Emr::StretchDiBits, params).finish();
}

} // namespace

class MetafilePlayerTest : public QObject
{
    Q_OBJECT

private slots:
    void redRectangle_coversExactlyItsPixels_data();
    void redRectangle_coversExactlyItsPixels();
    void quadrants_mapWindowAndFrameOntoPicture_data();
    void quadrants_mapWindowAndFrameOntoPicture();
    void margins_keptAndOutsideTransparent_data();
    void margins_keptAndOutsideTransparent();
    void shapes_fillsPensTextAndBitmap_data();
    void shapes_fillsPensTextAndBitmap();
    void records_drawTheirPixelsOrFailCleanly_data();
    void records_drawTheirPixelsOrFailCleanly();
};

void MetafilePlayerTest::redRectangle_coversExactlyItsPixels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("ratio");
    QTest::newRow("emf") << fixture("metafile/data/red52x32.emf") << 1;
    QTest::newRow("placeable wmf") << fixture("metafile/data/red52x32.wmf") << 1;
    // Played at the ratio, not scaled up: no blurred edge.
    QTest::newRow("emf at double ratio") << fixture("metafile/data/red52x32.emf") << 2;
}

void MetafilePlayerTest::redRectangle_coversExactlyItsPixels()
{
    QFETCH(QString, file);
    QFETCH(int, ratio);
    const Result<Picture> result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result->size(), QSize(52, 32));
    const QImage image = drawn(*result, QSize(52, 32), ratio);
    QCOMPARE(image.size(), QSize(52, 32) * ratio);
    // Logical pixels 10..29 and 8..23.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= 10 * ratio && x < 30 * ratio && y >= 8 * ratio && y < 24 * ratio;
            const QColor expected = inside ? QColor(Qt::red) : QColor(Qt::white);
            QVERIFY2(near(image.pixel(x, y), expected, 2), qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void MetafilePlayerTest::quadrants_mapWindowAndFrameOntoPicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("anisotropic, y up") << fixture("metafile/data/aniso.emf") << QSize(200, 100);
    QTest::newRow("1200 dpi reference device") << fixture("metafile/data/hires.emf") << QSize(96, 48);
    QTest::newRow("offset bounding box") << fixture("metafile/data/bbox_offset.wmf") << QSize(192, 96);
}

void MetafilePlayerTest::quadrants_mapWindowAndFrameOntoPicture()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const Result<Picture> result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result->size(), size);
    const QImage image = drawn(*result, size);
    const int w = size.width(), h = size.height();
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
    QTest::newRow("emf") << fixture("metafile/data/margins.emf");
    QTest::newRow("wmf") << fixture("metafile/data/margins.wmf");
}

void MetafilePlayerTest::margins_keptAndOutsideTransparent()
{
    QFETCH(QString, file);
    const Result<Picture> result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result->size(), QSize(96, 96));
    const QImage image = drawn(*result, QSize(96, 96), 1.0, Qt::transparent);
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
    QCOMPARE(QRect(QPoint(left, top), QPoint(right, bottom)), QRect(QPoint(10, 10), QPoint(85, 89)));
    // Nothing is drawn in the margins: whatever is behind the picture shows through.
    QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
    QCOMPARE(qAlpha(image.pixel(93, 93)), 0);
}

void MetafilePlayerTest::shapes_fillsPensTextAndBitmap_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("emf") << fixture("metafile/data/shapes.emf");
    QTest::newRow("wmf, twips, Shift-JIS text") << fixture("metafile/data/shapes.wmf");
}

void MetafilePlayerTest::shapes_fillsPensTextAndBitmap()
{
    QFETCH(QString, file);
    const Result<Picture> result = loadPicture(file);
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result->size(), QSize(400, 300));
    const QImage image = drawn(*result, QSize(400, 300));

    // Fills; the rectangle's one-pixel black outline on its edge pixels; the 8 x 8 bitmap
    // stretched to (280,220)-(376,284), quadrants in place.
    checkPixels(image,
        "80,60:#00f 200,60:#00a000 330,60:#ffc800 20,60:black 139,60:black 140,60:white 300,236:#f00 "
        "356,236:#0f0 300,268:#00f 356,268:#808080 281,221:#f00 374,282:#808080",
        8);
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

    // Text: black Latin above, red Japanese below, each where it was placed.
    int black = 0;
    for (int y = 218; y < 252; ++y) {
        for (int x = 16; x < 180; ++x) {
            black += near(image.pixel(x, y), Qt::black, 79) ? 1 : 0;
        }
    }
    QVERIFY2(black > 100, qPrintable(QString::number(black)));
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
}

void MetafilePlayerTest::records_drawTheirPixelsOrFailCleanly_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("pixels"); // none: the picture fails

    // Hundredths of a millimetre, y up: 12.7 mm is 48 pixels at 96 dots per inch.
    QTest::newRow("metric mapping mode")
        << whitePicture().record(Emr::SetMapMode, {3}).record(Emr::Rectangle, {0, -1270, 1270, -2540}).finish()
        << "24,72:red 46,94:red 24,24:white 72,72:white 50,72:white";
    // Isotropic: a 100 x 100 window on a 96 x 48 viewport keeps its squares at the smaller scale,
    // 0.48, so the window's square is the 48 x 48 pixels beside the viewport's origin.
    const auto isotropic = [](qint32 viewportHeight, qint32 originY) {
        EmfWriter emf = whitePicture();
        emf.record(Emr::SetMapMode, {7}).record(Emr::SetWindowExtEx, {100, 100});
        emf.record(Emr::SetViewportExtEx, {96, viewportHeight}).record(Emr::SetViewportOrgEx, {0, originY});
        return emf.record(Emr::Rectangle, {0, 0, 100, 100}).finish();
    };
    QTest::newRow("isotropic mapping, unequal extents")
        << isotropic(48, 0) << "2,2:red 45,45:red 52,20:white 20,52:white 90,90:white";
    QTest::newRow("isotropic mapping, y up")
        << isotropic(-48, 96) << "2,93:red 45,51:red 20,44:white 52,80:white 20,20:white";
    // Counter-clockwise from 0 to 90 degrees: the top-right part.
    QTest::newRow("pie") << whitePicture().record(Emr::Pie, {0, 0, 96, 96, 96, 48, 48, 0}).finish()
                         << "70,25:red 25,25:white 25,70:white 70,70:white";
    QTest::newRow("chord") << whitePicture().record(Emr::Chord, {0, 0, 96, 96, 96, 48, 48, 0}).finish()
                           << "80,16:red 70,40:white"; // inside the pie, beyond the chord
    // On the circle at 45 degrees (top right) and at 225 degrees (bottom left).
    QTest::newRow("arc counter-clockwise") << arc(false) << "76,20:red 20,76:white";
    QTest::newRow("arc clockwise") << arc(true) << "76,20:white 20,76:red";
    EmfWriter path = whitePicture(Blue);
    QTest::newRow("path filled as one shape")
        << triangle(path, {10, 10}, {86, 10}, {48, 86}).record(Emr::FillPath, {0, 0, 96, 96}).finish()
        << "48,30:blue 15,80:white 80,80:white";
    // Red clipped to the left half less the top-left corner, restored; then a blue band clipped to a triangle.
    EmfWriter clip = whitePicture();
    clip.record(Emr::SaveDc, {}).record(Emr::IntersectClipRect, {0, 0, 48, 96});
    clip.record(Emr::ExcludeClipRect, {0, 0, 20, 20}).record(Emr::Rectangle, {0, 0, 97, 97});
    triangle(clip.record(Emr::RestoreDc, {-1}), {48, 60}, {96, 60}, {96, 96}).record(Emr::SelectClipPath, {5});
    clip.record(Emr::CreateBrush, {3, 0, qint32(Blue), 0}).record(Emr::SelectObject, {3});
    // In the first clip; excluded; outside it; inside the triangle; below its diagonal; left of it.
    QTest::newRow("clipping") << clip.record(Emr::Rectangle, {0, 50, 97, 97}).finish()
                              << "30,40:red 10,10:white 70,40:white 90,70:blue 60,90:white 30,90:red";
    // The huge rectangle is left out; later shapes are still drawn, untransformed.
    QTest::newRow("bad geometry dropped") << badGeometry() << "10,10:white 45,45:red";
    // A font turned by the most negative escapement there is: the text is drawn, turned somehow.
    QTest::newRow("extreme font escapement")
        << whitePicture()
               // Object 1: height -20, width 0, the escapement, orientation 0, weight 400, 18 zeros more.
               .raw(Emr::ExtCreateFontIndirectW,
                   le32({1, -20, 0, std::numeric_limits<qint32>::min(), 0, 400}) + QByteArray(18 * 4, '\0'))
               .record(Emr::SelectObject, {1})
               .record(Emr::ExtTextOutW, {0, 0, 96, 96, 1, 0, 0, 48, 48, 1, 76, 0, 0, 0, 0, 0, 0, 0x41})
               .finish()
        << "5,5:white 90,90:white";
    QTest::newRow("aligned text") << alignedText()
                                  << "30,10:blue 65,10:blue 25,10:white 71,10:white 48,1:white "
                                     "30,57:blue 65,57:blue 25,57:white 71,57:white 48,61:white "
                                     "30,78:blue 65,78:blue 30,89:blue 25,85:white 71,85:white 48,95:white";
    QTest::newRow("top-down bitmap") << stretchBlt()
                                     << "15,15:red 25,15:#0f0 15,25:blue 25,25:white 5,5:white 35,35:white";
    // A dashed, mitred pen two million pixels wide round a small red ellipse: its first dash covers
    // the whole outline, so it is drawn solid; dashing it would take longer than a picture may.
    EmfWriter widePen = whitePicture();
    widePen.record(Emr::CreatePen, {2, 0x2004, 2'000'000, 0, qint32(Red)}).record(Emr::SelectObject, {2});
    QTest::newRow("dashed pen far wider than its outline")
        << widePen.record(Emr::Ellipse, {10, 10, 86, 70}).finish() << "48,40:red";
    // Shapes reaching millions of pixels beyond the picture, drawn where they cross it: a red
    // triangle below the line y = x / 2 + 24, a blue line down x = 76, then a green rectangle over the left
    // half clipped to the triangle. Several times over: drawn or clipped to as they are, each takes
    // Qt a fraction of a second, and together longer than a picture may take.
    EmfWriter far = whitePicture();
    far.record(Emr::CreatePen, {2, 0, 6, 0, qint32(Blue)}).record(Emr::CreateBrush, {3, 0, 0x00ff00, 0});
    const auto farTriangle = [&far]() -> EmfWriter & {
        far.record(Emr::BeginPath, {});
        for (int i = 0; i < 2; ++i) { // twice over: filled by winding, so the overlap is not a hole
            far.record(Emr::MoveTo, {-4'000'000, -1'999'976}).record(Emr::LineTo, {4'000'000, 2'000'024});
            far.record(Emr::LineTo, {-4'000'000, 4'000'000}).record(Emr::CloseFigure, {});
        }
        return far.record(Emr::EndPath, {});
    };
    far.record(Emr::SetPolyFillMode, {2});
    for (int i = 0; i < 4; ++i) {
        farTriangle().record(Emr::FillPath, {0, 0, 96, 96}).record(Emr::SelectObject, {2});
        far.record(Emr::MoveTo, {76, -4'000'000}).record(Emr::LineTo, {76, 4'000'000});
    }
    for (int i = 0; i < 2; ++i) {
        farTriangle().record(Emr::SelectClipPath, {5});
    }
    far.record(Emr::SelectObject, {3});
    far.record(Emr::SelectObject, {qint32(Emr::NullPen)}).record(Emr::Rectangle, {0, 0, 40, 97});
    QTest::newRow("shapes reaching far beyond the picture")
        << far.finish()
        << "2,20:white 2,30:#0f0 20,70:#0f0 30,10:white 50,70:red 66,80:red 90,62:white 90,76:red 76,20:blue "
           "76,80:blue 86,20:white";
    // The top of an ellipse eight million pixels wide, its centre below the picture, is all but flat;
    // the edge of a circle of radius 190 round (-110, 50) crosses the picture's top at x = 73.8.
    QTest::newRow("ellipses far larger than the picture")
        << whitePicture()
               .record(Emr::Ellipse, {-3'999'952, 60, 4'000'048, 8'000'060})
               .record(Emr::Ellipse, {-300, -140, 80, 240})
               .finish()
        << "86,57:white 94,57:white 94,70:red 71,2:red 76,2:white 78,50:red 82,50:white";
    // A pen eight million pixels wide along a short line covers the whole picture with its round ends.
    EmfWriter hugePen = whitePicture();
    hugePen.record(Emr::CreatePen, {2, 0, 8'000'000, 0, qint32(Blue)}).record(Emr::SelectObject, {2});
    QTest::newRow("pen far wider than the picture")
        << hugePen.record(Emr::MoveTo, {40, 48}).record(Emr::LineTo, {56, 48}).finish()
        << "1,1:blue 94,1:blue 48,48:blue 94,94:blue";
    // Objects made and chosen past the end of the 16-entry table are left out: the red brush stays.
    EmfWriter objects = whitePicture();
    objects.record(Emr::CreateBrush, {16, 0, qint32(Blue), 0}).record(Emr::SelectObject, {16});
    QTest::newRow("object past the table") << objects.record(Emr::Rectangle, {40, 40, 50, 50}).finish() << "45,45:red";
    EmfWriter balanced = whitePicture();
    for (int i = 0; i < 2000; ++i) {
        balanced.record(Emr::SaveDc, {}).record(Emr::RestoreDc, {-1});
    }
    QTest::newRow("many balanced saves") << balanced.record(Emr::Rectangle, {40, 40, 50, 50}).finish() << "45,45:red";

    // Broken or over the limits: no picture, and a reason.
    const QByteArray good = readBytes(fixture("metafile/data/red52x32.emf"));
    const qint32 headerSize = *reinterpret_cast<const qint32 *>(good.constData() + 4);
    const qint32 big = 0x7ffffff0;
    QTest::newRow("cut in half") << good.left(good.size() / 2 + 2) << QString();
    QTest::newRow("record of size 0") << patched(good, headerSize + 4, 0) << QString();
    QTest::newRow("record past the end") << patched(good, headerSize + 4, big) << QString();
    QTest::newRow("empty frame") << patched(good, 32, 0) << QString();
    QTest::newRow("over 4096 pixels a side") << EmfWriter(QSize(5000, 10)).finish() << QString();
    QTest::newRow("over 16 million pixels") << EmfWriter(QSize(4096, 4000)).finish() << QString();
    QTest::newRow("header only") << good.left(88) << QString();

    QTest::newRow("wmf without placeable header")
        << readBytes(fixture("metafile/data/red52x32_noapm.wmf")) << QString();
    const QByteArray noUnits = patched(readBytes(fixture("metafile/data/red52x32.wmf")), 14, qint16(0));
    QTest::newRow("wmf with no units per inch") << noUnits << QString();
    QTest::newRow("wmf record past the end") << patched(patched(noUnits, 14, qint16(96)), 40, big) << QString();

    EmfWriter saves(QSize(10, 10));
    for (int i = 0; i < Metafile::MaxSavedStates + 1; ++i) {
        saves.record(Emr::SaveDc, {});
    }
    QTest::newRow("too many saved states") << saves.finish() << QString();
    EmfWriter records(QSize(10, 10));
    for (int i = 0; i < Metafile::MaxRecords; ++i) {
        records.record(Emr::SetBkMode, {1});
    }
    QTest::newRow("too many records") << records.finish() << QString(); // the end record is one too many
    // Far more to paint than fits in the time allowed: given up, not played to the end.
    EmfWriter slow(QSize(2000, 2000));
    slow.record(Emr::CreatePen, {1, 0x10000, 50, 0, qint32(Red)}).record(Emr::SelectObject, {1});
    for (int i = 0; i < 100'000; ++i) {
        slow.record(Emr::Arc, {-i % 7, 0, 2000, 2000, 2000, 1000, 1000, 2000});
    }
    QTest::newRow("takes too long to draw") << slow.finish() << QString();
    // An embedded 24-bit bitmap with 16 bytes of bits after its header.
    QTest::newRow("bitmap of 5000 x 4000 pixels") << stretchDiBits(5000, 4000, 16) << QString();
    QTest::newRow("bitmap bits shorter than its rows") << stretchDiBits(8, 8, 16) << QString();
    QTest::newRow("bitmap bits past the record") << stretchDiBits(2, 2, 4000) << QString();
}

void MetafilePlayerTest::records_drawTheirPixelsOrFailCleanly()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, pixels);
    const Result<QImage> image = played(data);
    if (pixels.isEmpty()) {
        QVERIFY(!image);
        QVERIFY(!image.error().isEmpty());
        return;
    }
    QVERIFY2(image.ok(), qPrintable(image.error()));
    checkPixels(*image, pixels, 40);
}

QTEST_MAIN(MetafilePlayerTest)
#include "metafileplayer_test.moc"
