#include "picture/pictureloader.h"
#include "support/files.h"
#include "support/littleendian.h"
#include "support/pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// 40 x 20: the left half red, the right half blue.
QImage halves()
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, 20, 20, Qt::red);
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return data;
}

// A JPEG with an EXIF block whose orientation tag is `orientation`.
QByteArray jpegWithOrientation(const QImage &image, quint16 orientation)
{
    QByteArray jpeg = encoded(image, "JPEG", 95);
    QByteArray tiff("II*\0\x08\0\0\0", 8); // little-endian, first directory at 8
    tiff.append("\x01\0", 2); // one entry
    tiff.append("\x12\x01\x03\0\x01\0\0\0", 8); // Orientation, SHORT, count 1
    tiff.append(le16(orientation)).append(2, '\0');
    tiff.append(4, '\0'); // no next directory
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const int length = exif.size() + 2;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char(length >> 8)).append(char(length & 0xff)).append(exif);
    return jpeg.insert(2, app1); // right after the start-of-image marker
}

// A BMP whose header claims the given size, over the bits of an 8 x 8 one.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    return patched(patched(encoded(QImage(8, 8, QImage::Format_Mono), "BMP"), 18, width), 22, height);
}

// A picture with four solid quadrants, so a wrongly placed or scaled part shows.
QImage quadrants(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    painter.fillRect(0, 0, w, h, QColor(200, 30, 30));
    painter.fillRect(w, 0, size.width() - w, h, QColor(30, 200, 30));
    painter.fillRect(0, h, w, size.height() - h, QColor(30, 30, 200));
    painter.fillRect(w, h, size.width() - w, size.height() - h, QColor(220, 220, 40));
    return image;
}

// The picture as a box of `box` logical pixels shows it: at its own size from the top-left, over
// white, clipped.
QImage shownInBox(const Picture &picture, QSize box)
{
    QImage image(box, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.drawUnscaled(&painter, QPointF(0, 0));
    return image;
}

} // namespace

class PictureLoaderTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyPath_givesEmptyPictureWithoutFailure();
    void raster_readsByContent_data();
    void raster_readsByContent();
    void metafile_readByContentUnderAnyName();
    void gif_keepsTransparentPixels();
    void visiblePart_drawsAsTheWholePictureInTheBox_data();
    void visiblePart_drawsAsTheWholePictureInTheBox();
    void notAPicture_fails_data();
    void notAPicture_fails();
    void unreadableFile_fails();

private:
    QString write(const QString &name, const QByteArray &data);
    QTemporaryDir m_dir;
};

void PictureLoaderTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString PictureLoaderTest::write(const QString &name, const QByteArray &data)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        return {};
    }
    return path;
}

void PictureLoaderTest::emptyPath_givesEmptyPictureWithoutFailure()
{
    const Result<Picture> result = loadPicture(QString());
    QVERIFY(result.ok());
    QVERIFY(result->isNull());
}

void PictureLoaderTest::raster_readsByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("red");
    QTest::addColumn<QPoint>("blue");
    const QImage image = halves();
    const QSize size(40, 20);
    const QPoint red(5, 10), blue(35, 10);
    QTest::newRow("bmp 24-bit") << "a.bmp" << encoded(image, "BMP") << size << red << blue;
    QTest::newRow("bmp 8-bit palette") << "b.bmp" << encoded(image.convertToFormat(QImage::Format_Indexed8), "BMP")
                                       << size << red << blue;
    const QList<QRgb> redBlue{qRgb(255, 0, 0), qRgb(0, 0, 255)};
    QTest::newRow("bmp 1-bit") << "c.bmp" << encoded(image.convertToFormat(QImage::Format_Mono, redBlue), "BMP") << size
                               << red << blue;
    QTest::newRow("bmp 32-bit") << "d.bmp" << encoded(image.convertToFormat(QImage::Format_ARGB32), "BMP") << size
                                << red << blue;
    // 8 x 4, left half red, right half blue.
    QTest::newRow("bmp RLE-compressed") << "e.bmp" << readBytes(fixture("picture/data/rle8.bmp")) << QSize(8, 4)
                                        << QPoint(1, 1) << QPoint(6, 2);
    QTest::newRow("jpeg") << "e.jpg" << encoded(image, "JPEG", 95) << size << red << blue;
    // Orientation 6: the stored picture must be turned a quarter clockwise to be seen upright.
    QTest::newRow("jpeg turned by its EXIF orientation")
        << "photo.jpg" << jpegWithOrientation(image, 6) << QSize(20, 40) << QPoint(10, 5) << QPoint(10, 35);
    QTest::newRow("jpeg named .bmp") << "lies.bmp" << encoded(image, "JPEG", 95) << size << red << blue;
    QTest::newRow("at the side limit") << "edge.bmp" << encoded(image.scaled(4096, 2), "BMP") << QSize(4096, 2)
                                       << QPoint(5, 1) << QPoint(4090, 1);
}

void PictureLoaderTest::raster_readsByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    QFETCH(QPoint, red);
    QFETCH(QPoint, blue);
    const Result<Picture> result = loadPicture(write(name, data));
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result->size(), size);
    QVERIFY(near(result->image().pixel(red), Qt::red, 40));
    QVERIFY(near(result->image().pixel(blue), Qt::blue, 40));
    QCOMPARE(loadPictureData(data)->image(), result->image());
}

void PictureLoaderTest::metafile_readByContentUnderAnyName()
{
    const Result<Picture> result =
        loadPicture(write(QStringLiteral("face.jpg"), readBytes(fixture("metafile/data/red52x32.emf"))));
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(result->size(), QSize(52, 32));
    QVERIFY(result->image().isNull()); // a vector picture
}

void PictureLoaderTest::gif_keepsTransparentPixels()
{
    // 2 x 1: a red pixel and a transparent one.
    const Result<Picture> gif = loadPicture(fixture("picture/data/transparent.gif"));
    QVERIFY2(gif.ok(), qPrintable(gif.error()));
    QCOMPARE(gif->size(), QSize(2, 1));
    QImage image(2, 1, QImage::Format_RGB32);
    image.fill(Qt::green); // what lies behind the picture
    QPainter painter(&image);
    gif->draw(&painter, QRectF(0, 0, 2, 1));
    painter.end();
    QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(1, 0), qRgb(0, 255, 0));
}

void PictureLoaderTest::visiblePart_drawsAsTheWholePictureInTheBox_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");
    const QImage large = quadrants(QSize(400, 300));
    QTest::newRow("large JPEG") << encoded(large, "JPEG", 95) << QSize(400, 300);
    QTest::newRow("JPEG narrower than the box") << encoded(quadrants(QSize(30, 200)), "JPEG", 95) << QSize(30, 200);
    QTest::newRow("small JPEG") << encoded(quadrants(QSize(20, 10)), "JPEG", 95) << QSize(20, 10);
    QTest::newRow("large JPEG turned by its EXIF orientation") << jpegWithOrientation(large, 6) << QSize(300, 400);
    QTest::newRow("large bitmap") << encoded(large, "BMP") << QSize(400, 300);
}

void PictureLoaderTest::visiblePart_drawsAsTheWholePictureInTheBox()
{
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    const QString path = write(QStringLiteral("face.img"), data);
    const QSize box(52, 32);

    const Result<Picture> part = loadPicture(path, box);
    const Result<Picture> whole = loadPicture(path);
    QVERIFY(part.ok());
    QCOMPARE(part->size(), size);

    // Every third pixel across and down.
    QCOMPARE_LT(largestDifference(shownInBox(*part, box), shownInBox(*whole, box), 3), 12);
}

void PictureLoaderTest::notAPicture_fails_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing.bmp"));
    QTest::newRow("text file") << write(QStringLiteral("notes.bmp"), "This is not a picture.\n");
    QTest::newRow("empty file") << write(QStringLiteral("empty.jpg"), QByteArray());
    QTest::newRow("truncated jpeg") << write(QStringLiteral("cut.jpg"), encoded(halves(), "JPEG").left(40));
    QTest::newRow("truncated bmp") << write(QStringLiteral("cut.bmp"), encoded(halves(), "BMP").left(70));
    QTest::newRow("bmp with an absurd header") << write(QStringLiteral("absurd.bmp"),
        QByteArray::fromBase64("Qk0AAAAkAwUAuAssARAO7gIvREhTR290aGljLVc1AAAAAAAAAAAAAAAAAAAABAAEAQAABAAEAQAAAAE="));
    QTest::newRow("format we do not show") << write(QStringLiteral("x.bmp"), encoded(halves(), "PPM"));
    QTest::newRow("device") << QStringLiteral("/dev/zero");
    QByteArray big = encoded(halves(), "BMP");
    big.resize(16 * 1024 * 1024 + 1, '\0');
    QTest::newRow("file over 16 MiB") << write(QStringLiteral("big.bmp"), big);
    // Headers claiming large pictures: refused before any pixel is decoded.
    QTest::newRow("header over 16 million pixels") << write(QStringLiteral("many.bmp"), bmpHeader(4096, 4000));
    QImage wide(4097, 2, QImage::Format_Mono);
    wide.fill(0);
    QTest::newRow("picture just over the side limit") << write(QStringLiteral("real.bmp"), encoded(wide, "BMP"));
    QTest::newRow("jpeg just over the side limit")
        << write(QStringLiteral("wide.jpg"), encoded(wide.convertToFormat(QImage::Format_RGB32), "JPEG"));
}

void PictureLoaderTest::notAPicture_fails()
{
    QFETCH(QString, path);
    const Result<Picture> result = loadPicture(path);
    QVERIFY(!result.ok());
    // Refused as well where only a part of it would be seen.
    QVERIFY(!loadPicture(path, QSize(52, 32)).ok());
    // The same bytes are refused in memory too.
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        QVERIFY(!loadPictureData(file.readAll()).ok());
    }
}

void PictureLoaderTest::unreadableFile_fails()
{
    const QString path = write(QStringLiteral("locked.bmp"), encoded(halves(), "BMP"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    // With rights that open any file: a file that opens but cannot be read.
    QFile probe(path);
    QVERIFY(!loadPicture(probe.open(QIODevice::ReadOnly) ? QStringLiteral("/proc/self/mem") : path).ok());
}

QTEST_MAIN(PictureLoaderTest)
#include "pictureloader_test.moc"
