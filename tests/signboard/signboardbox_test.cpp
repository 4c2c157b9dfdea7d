#include "signboardbox.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

// The signboard box as a widget: what it paints and what it reports.
class SignboardBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void paint_showsPictureUnscaledInsideTheBorderOnWhite();
    void press_reportsButtonCodeAndTwips_data();
    void press_reportsButtonCodeAndTwips();
    void drag_followsThePointerOnlyOnceStarted();
};

void SignboardBoxTest::paint_showsPictureUnscaledInsideTheBorderOnWhite()
{
    QWidget bus;
    bus.resize(300, 200);
    SignboardBox box(&bus);
    box.setGeometry(10, 10, 40, 30);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(200, 0, 0));
    box.setPicture(Picture(image));

    const QImage shot = box.grab().toImage();
    QCOMPARE(shot.pixelColor(2, 2), QColor(200, 0, 0));
    QCOMPARE(shot.pixelColor(21, 11), QColor(200, 0, 0)); // unscaled: 20 x 10 from (2, 2)
    QCOMPARE(shot.pixelColor(22, 12), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(37, 27), QColor(Qt::white));
}

void SignboardBoxTest::press_reportsButtonCodeAndTwips_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("code");
    QTest::newRow("left") << int(Qt::LeftButton) << 1;
    QTest::newRow("right") << int(Qt::RightButton) << 2;
    QTest::newRow("middle") << int(Qt::MiddleButton) << 4;
}

void SignboardBoxTest::press_reportsButtonCodeAndTwips()
{
    QFETCH(int, button);
    QWidget bus;
    SignboardBox box(&bus);
    box.setGeometry(10, 10, 40, 30);
    bus.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bus));
    QSignalSpy down(&box, &SignboardBox::mouseDown);

    QTest::mousePress(&box, Qt::MouseButton(button), Qt::ShiftModifier, QPoint(3, 4));
    QTest::mouseRelease(&box, Qt::MouseButton(button), Qt::ShiftModifier, QPoint(3, 4));

    QCOMPARE(down.size(), 1);
    QTEST(down[0][0].toInt(), "code");
    QCOMPARE(down[0][1].toInt(), 1);
    QCOMPARE(down[0][2].toDouble(), 45.0);
    QCOMPARE(down[0][3].toDouble(), 60.0);
}

void SignboardBoxTest::drag_followsThePointerOnlyOnceStarted()
{
    QWidget bus;
    bus.resize(300, 200);
    SignboardBox box(&bus);
    box.setGeometry(100, 50, 40, 30);
    bus.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bus));
    QSignalSpy dragged(&box, &SignboardBox::dragged);
    connect(&box, &SignboardBox::dragged, &box, [&box](QPoint topLeft) { box.move(topLeft); });

    // A press that nobody turns into a drag moves nothing.
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&box, QPoint(25, 15));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(25, 15));
    QCOMPARE(dragged.size(), 0);

    connect(&box, &SignboardBox::mouseDown, &box, [&box] { box.startDrag(); });
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&box, QPoint(25, 15)); // the pointer 20, 10 further
    QCOMPARE(box.pos(), QPoint(120, 60));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!box.isDragging());
    QTest::mouseMove(&box, QPoint(20, 20));
    QCOMPARE(box.pos(), QPoint(120, 60));
}

QTEST_MAIN(SignboardBoxTest)
#include "signboardbox_test.moc"
