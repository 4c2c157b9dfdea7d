#include "signboard.h"
#include "signboardbox.h"
#include "signboardframe.h"

#include <QTest>

#include <limits>

// The signboard's placement rules, without any widget.
class SignboardTest : public QObject
{
    Q_OBJECT

private slots:
    void fullPlacement_putsPostsBesideAndBarUnderTheBox_data();
    void fullPlacement_putsPostsBesideAndBarUnderTheBox();
    void position_fromAnyNumber_staysComputable_data();
    void position_fromAnyNumber_staysComputable();
    void dragTarget_keepsTheGrabbedPointInsideTheClientArea_data();
    void dragTarget_keepsTheGrabbedPointInsideTheClientArea();
};

void SignboardTest::fullPlacement_putsPostsBesideAndBarUnderTheBox_data()
{
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QRect>("left");
    QTest::addColumn<QRect>("right");
    QTest::addColumn<QRect>("bar");
    QTest::newRow("design box") << QRect(3450, 2010, 1410, 450) << QRect(3375, 2010, 75, 465)
                                << QRect(4860, 2010, 75, 465) << QRect(3375, 2460, 1560, 60);
    QTest::newRow("large box") << QRect(1000, 500, 3000, 1500) << QRect(925, 500, 75, 1515)
                               << QRect(4000, 500, 75, 1515) << QRect(925, 2000, 3150, 60);
    QTest::newRow("box at the corner") << QRect(0, 0, 60, 60) << QRect(-75, 0, 75, 75) << QRect(60, 0, 75, 75)
                                       << QRect(-75, 60, 210, 60);
}

void SignboardTest::fullPlacement_putsPostsBesideAndBarUnderTheBox()
{
    QFETCH(QRect, box);
    SignboardFrame frame;
    frame.placeAround(box);
    QTEST(frame.shape(0), "left");
    QTEST(frame.shape(1), "right");
    QTEST(frame.shape(2), "bar");
}

void SignboardTest::position_fromAnyNumber_staysComputable_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("held");
    QTest::newRow("ordinary") << 3450 << 3450;
    QTest::newRow("negative") << -1200 << -1200;
    QTest::newRow("largest") << std::numeric_limits<int>::max() << Signboard::PositionLimit;
    QTest::newRow("smallest") << std::numeric_limits<int>::min() << -Signboard::PositionLimit;
}

void SignboardTest::position_fromAnyNumber_staysComputable()
{
    QFETCH(int, stored);
    Signboard board;
    board.setLeft(stored);
    board.setTop(stored);
    board.setPicture(Picture(QSize(4096, 4096), [](QPainter *, const QRectF &) {})); // the largest picture
    QTEST(board.left(), "held");
    QTEST(board.top(), "held");
    QCOMPARE(board.rect().width(), 4100 * 15);
    SignboardFrame frame;
    frame.placeAround(board.rect());
    QCOMPARE(frame.shape(2).x(), board.left() - 75);
}

void SignboardTest::dragTarget_keepsTheGrabbedPointInsideTheClientArea_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("topLeft");
    // Client 775 x 215, grabbed 10, 5 from the box's corner.
    QTest::newRow("inside") << QPoint(300, 100) << QPoint(290, 95);
    QTest::newRow("left of the window") << QPoint(-50, 100) << QPoint(-10, 95);
    QTest::newRow("above the window") << QPoint(300, -40) << QPoint(290, -5);
    QTest::newRow("right of the window") << QPoint(900, 100) << QPoint(764, 95);
    QTest::newRow("below the window") << QPoint(300, 400) << QPoint(290, 209);
    QTest::newRow("far corner") << QPoint(5000, 5000) << QPoint(764, 209);
}

void SignboardTest::dragTarget_keepsTheGrabbedPointInsideTheClientArea()
{
    QFETCH(QPoint, pointer);
    QTEST(SignboardBox::dragTarget(pointer, QPoint(10, 5), QRect(0, 0, 775, 215)), "topLeft");
}

QTEST_GUILESS_MAIN(SignboardTest)
#include "signboard_test.moc"
