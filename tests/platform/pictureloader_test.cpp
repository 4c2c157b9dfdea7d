#include "pictureloader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name);
}

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
    tiff.append(char(orientation & 0xff)).append(char(orientation >> 8)).append(2, '\0');
    tiff.append(4, '\0'); // no next directory
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const int length = exif.size() + 2;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char(length >> 8)).append(char(length & 0xff)).append(exif);
    return jpeg.insert(2, app1); // right after the start-of-image marker
}

bool near(QRgb pixel, QColor expected, int tolerance = 40)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance
        && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
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
    void jpeg_appliesExifOrientation();
    void notAPicture_fails_data();
    void notAPicture_fails();
    void unreadableFile_fails();
    void fileOver16MiB_fails();
    void rasterOverLimits_fails();

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
    const PictureLoadResult result = loadPicture(QString());
    QVERIFY(result.ok());
    QVERIFY(result.picture.isNull());
}

void PictureLoaderTest::raster_readsByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    const QImage image = halves();
    QTest::newRow("bmp 24-bit") << "a.bmp" << encoded(image, "BMP");
    QTest::newRow("bmp 8-bit palette") << "b.bmp" << encoded(image.convertToFormat(QImage::Format_Indexed8), "BMP");
    QTest::newRow("bmp 1-bit") << "c.bmp"
                               << encoded(
                                      image.convertToFormat(QImage::Format_Mono, {qRgb(255, 0, 0), qRgb(0, 0, 255)}),
                                      "BMP");
    QTest::newRow("bmp 32-bit") << "d.bmp" << encoded(image.convertToFormat(QImage::Format_ARGB32), "BMP");
    QTest::newRow("jpeg") << "e.jpg" << encoded(image, "JPEG", 95);
    QTest::newRow("jpeg named .bmp") << "lies.bmp" << encoded(image, "JPEG", 95);
    QTest::newRow("bmp named .gif") << "lies.gif" << encoded(image, "BMP");
    QTest::newRow("bmp with no extension") << "noext" << encoded(image, "BMP");
}

void PictureLoaderTest::raster_readsByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    const PictureLoadResult result = loadPicture(write(name, data));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), QSize(40, 20));
    const QImage image = result.picture.image();
    QVERIFY(near(image.pixel(5, 10), Qt::red));
    QVERIFY(near(image.pixel(35, 10), Qt::blue));
}

void PictureLoaderTest::metafile_readByContentUnderAnyName()
{
    QFile emf(fixture("red52x32.emf"));
    QVERIFY(emf.open(QIODevice::ReadOnly));
    const PictureLoadResult result = loadPicture(write(QStringLiteral("face.jpg"), emf.readAll()));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), QSize(52, 32));
    QVERIFY(result.picture.image().isNull()); // a vector picture
}

void PictureLoaderTest::gif_keepsTransparentPixels()
{
    // 2 x 1: a red pixel and a transparent one.
    const PictureLoadResult gif = loadPicture(fixture("transparent.gif"));
    QVERIFY2(gif.ok(), qPrintable(gif.error));
    QCOMPARE(gif.picture.size(), QSize(2, 1));
    QImage image(2, 1, QImage::Format_RGB32);
    image.fill(Qt::green); // what lies behind the picture
    QPainter painter(&image);
    gif.picture.draw(&painter, QRectF(0, 0, 2, 1));
    painter.end();
    QCOMPARE(image.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(1, 0), qRgb(0, 255, 0));

    // An RLE-compressed bitmap, for good measure: 8 x 4, left half red, right half blue.
    const PictureLoadResult rle = loadPicture(fixture("rle8.bmp"));
    QVERIFY2(rle.ok(), qPrintable(rle.error));
    QCOMPARE(rle.picture.size(), QSize(8, 4));
    QVERIFY(near(rle.picture.image().pixel(1, 1), Qt::red, 2));
    QVERIFY(near(rle.picture.image().pixel(6, 2), Qt::blue, 2));
}

void PictureLoaderTest::jpeg_appliesExifOrientation()
{
    // Orientation 6: the stored picture must be turned a quarter clockwise to be seen upright.
    const PictureLoadResult result = loadPicture(write(QStringLiteral("photo.jpg"), jpegWithOrientation(halves(), 6)));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.picture.size(), QSize(20, 40));
    const QImage image = result.picture.image();
    QVERIFY(near(image.pixel(10, 5), Qt::red));
    QVERIFY(near(image.pixel(10, 35), Qt::blue));
}

void PictureLoaderTest::notAPicture_fails_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("missing.bmp"));
    QTest::newRow("folder") << m_dir.path();
    QTest::newRow("text file") << write(QStringLiteral("notes.bmp"), "This is not a picture.\n");
    QTest::newRow("empty file") << write(QStringLiteral("empty.jpg"), QByteArray());
    QTest::newRow("truncated jpeg") << write(QStringLiteral("cut.jpg"), encoded(halves(), "JPEG").left(40));
    QTest::newRow("truncated bmp") << write(QStringLiteral("cut.bmp"), encoded(halves(), "BMP").left(70));
    QTest::newRow("bmp with an absurd header") << write(QStringLiteral("absurd.bmp"),
        QByteArray::fromBase64("Qk0AAAAkAwUAuAssARAO7gIvREhTR290aGljLVc1AAAAAAAAAAAAAAAAAAAABAAEAQAABAAEAQAAAAE="));
    QTest::newRow("format we do not show") << write(QStringLiteral("x.bmp"), encoded(halves(), "PPM"));
    QTest::newRow("device") << QStringLiteral("/dev/zero");
}

void PictureLoaderTest::notAPicture_fails()
{
    QFETCH(QString, path);
    const PictureLoadResult result = loadPicture(path);
    QVERIFY(!result.ok());
    QVERIFY(result.picture.isNull());
}

void PictureLoaderTest::unreadableFile_fails()
{
    const QString path = write(QStringLiteral("locked.bmp"), encoded(halves(), "BMP"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        QVERIFY(!loadPicture(path).ok());
        return;
    }
    // With rights that open any file: a file that opens but cannot be read.
    if (!QFile::exists(QStringLiteral("/proc/self/mem"))) {
        QSKIP("Running with rights that read any file.");
    }
    QVERIFY(!loadPicture(QStringLiteral("/proc/self/mem")).ok());
}

void PictureLoaderTest::fileOver16MiB_fails()
{
    QByteArray data = encoded(halves(), "BMP");
    data.resize(16 * 1024 * 1024 + 1, '\0');
    const PictureLoadResult result = loadPicture(write(QStringLiteral("big.bmp"), data));
    QVERIFY(!result.ok());
}

void PictureLoaderTest::rasterOverLimits_fails()
{
    // Headers claiming large pictures: refused before any pixel is decoded.
    const auto bmpHeader = [](qint32 width, qint32 height) {
        QByteArray bmp = encoded(QImage(8, 8, QImage::Format_Mono), "BMP");
        std::memcpy(bmp.data() + 18, &width, 4);
        std::memcpy(bmp.data() + 22, &height, 4);
        return bmp;
    };
    QVERIFY(!loadPicture(write(QStringLiteral("wide.bmp"), bmpHeader(5000, 8))).ok());
    QVERIFY(!loadPicture(write(QStringLiteral("many.bmp"), bmpHeader(4096, 4000))).ok());
    // A real picture just over the side limit.
    QImage wide(4097, 2, QImage::Format_Mono);
    wide.fill(0);
    QVERIFY(!loadPicture(write(QStringLiteral("real.bmp"), encoded(wide, "BMP"))).ok());
    // And one at the limit is fine.
    QImage edge(4096, 2, QImage::Format_Mono);
    edge.fill(0);
    QVERIFY(loadPicture(write(QStringLiteral("edge.bmp"), encoded(edge, "BMP"))).ok());
}

QTEST_MAIN(PictureLoaderTest)
#include "pictureloader_test.moc"
