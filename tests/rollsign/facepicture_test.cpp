#include "rollsign/facepicture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A face with four solid quadrants, so a wrongly placed or scaled part shows.
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

// The face as the sign box shows it: at its own size from the top-left, over white, clipped.
QImage shown(const Picture &picture, QSize box)
{
    QImage image(box, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.drawUnscaled(&painter, QPointF(0, 0));
    return image;
}

} // namespace

class FacePictureTest : public QObject
{
    Q_OBJECT

private slots:
    void face_showsAsTheWholePictureWould_data();
    void face_showsAsTheWholePictureWould();
    void unreadableFace_fails_data();
    void unreadableFace_fails();
};

void FacePictureTest::face_showsAsTheWholePictureWould_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("format");
    QTest::newRow("large JPEG") << QSize(400, 300) << "JPEG";
    QTest::newRow("JPEG narrower than the box") << QSize(30, 200) << "JPEG";
    QTest::newRow("small JPEG") << QSize(20, 10) << "JPEG";
    QTest::newRow("large bitmap") << QSize(400, 300) << "BMP";
}

void FacePictureTest::face_showsAsTheWholePictureWould()
{
    QFETCH(QSize, size);
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("face.img"));
    QVERIFY(quadrants(size).save(path, format.toLatin1().constData(), 95));
    const QSize box(52, 32);

    const Result<Picture> face = loadFacePicture(path, box);
    const Result<Picture> whole = loadPicture(path);
    QVERIFY(face.ok());
    QCOMPARE(face->size(), size);

    const QImage expected = shown(*whole, box);
    const QImage actual = shown(*face, box);
    for (int y = 0; y < box.height(); y += 3) {
        for (int x = 0; x < box.width(); x += 3) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            const int difference =
                std::max({qAbs(qRed(a) - qRed(e)), qAbs(qGreen(a) - qGreen(e)), qAbs(qBlue(a) - qBlue(e))});
            QVERIFY2(difference < 12, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
}

void FacePictureTest::unreadableFace_fails_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    quadrants(QSize(400, 300)).save(&buffer, "JPEG");
    QTest::newRow("not a picture") << QByteArray("just some text, named .jpg");
    QTest::newRow("JPEG cut after its header") << jpeg.left(40);
}

void FacePictureTest::unreadableFace_fails()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("face.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const Result<Picture> face = loadFacePicture(path, QSize(52, 32));
    QVERIFY(!face.ok());
    QVERIFY(!loadFacePicture(dir.filePath(QStringLiteral("missing.jpg")), QSize(52, 32)).ok());
}

QTEST_MAIN(FacePictureTest)
#include "facepicture_test.moc"
