#include "signboard/signboard.h"
#include "signboard/signboardbox.h"
#include "signboard/signboardframe.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <limits>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, {});
    QApplication::sendEvent(widget, &event);
}

} // namespace

// The signboard's placement rules, and the drag of its box.
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
    void drag_endsWhenItsReleaseCannotCome_data();
    void drag_endsWhenItsReleaseCannotCome();
};

void SignboardTest::fullPlacement_putsPostsBesideAndBarUnderTheBox_data()
{
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QRect>("left");
    QTest::addColumn<QRect>("right");
    QTest::addColumn<QRect>("bar");
    QTest::newRow("design box") << QRect(3450, 2010, 1410, 450) << QRect(3375, 2010, 75, 465)
                                << QRect(4860, 2010, 75, 465) << QRect(3375, 2460, 1560, 60);
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
}

void SignboardTest::dragTarget_keepsTheGrabbedPointInsideTheClientArea()
{
    QFETCH(QPoint, pointer);
    QTEST(SignboardBox::dragTarget(pointer, QPoint(10, 5), QRect(0, 0, 775, 215)), "topLeft");
}

void SignboardTest::drag_endsWhenItsReleaseCannotCome_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QPoint>("endPlace");
    const QPoint dragged(130, 110);
    QTest::newRow("right press") << "right press" << dragged;
    QTest::newRow("middle press") << "middle press" << dragged;
    QTest::newRow("move without the left button") << "move" << dragged;
    QTest::newRow("focus lost") << "focus" << dragged;
    QTest::newRow("Esc: back where the drag began") << "Esc" << QPoint(100, 100);
}

void SignboardTest::drag_endsWhenItsReleaseCannotCome()
{
    QFETCH(QString, ending);
    QFETCH(QPoint, endPlace);
    QWidget window;
    window.resize(775, 215);
    QLineEdit other(&window);
    other.setGeometry(0, 0, 50, 20);
    SignboardBox box(&window);
    box.setGeometry(100, 100, 60, 30);
    // The bus window's part: a left press starts the drag, a new place moves the box.
    QList<int> presses;
    connect(&box, &SignboardBox::mouseDown, &box, [&](int button) {
        presses.append(button);
        if (button == 1) {
            box.startDrag();
        }
    });
    connect(&box, &SignboardBox::dragged, &box, [&box](QPoint topLeft) { box.move(topLeft); });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    box.startDrag(); // no left press: no drag
    QVERIFY(!box.isDragging());
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(box.hasFocus()); // so that Esc reaches it
    sendMouse(&box, QEvent::MouseMove, QPoint(40, 20), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(box.pos(), QPoint(130, 110));
    QVERIFY(box.isDragging());

    if (ending == u"right press") {
        sendMouse(&box, QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
        QCOMPARE(presses, (QList<int>{1, 2})); // an ordinary press: the menu opens
    } else if (ending == u"middle press") {
        sendMouse(&box, QEvent::MouseButtonPress, QPoint(10, 10), Qt::MiddleButton, Qt::LeftButton | Qt::MiddleButton);
    } else if (ending == u"move") {
        sendMouse(&box, QEvent::MouseMove, QPoint(20, 20), Qt::NoButton, Qt::NoButton);
    } else if (ending == u"focus") {
        other.setFocus();
    } else {
        QTest::keyClick(&box, Qt::Key_Escape);
    }
    QVERIFY(!box.isDragging());
    QCOMPARE(box.pos(), endPlace);
    // The box no longer follows the left button, and the next press is not swallowed.
    sendMouse(&box, QEvent::MouseMove, QPoint(50, 25), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(box.pos(), endPlace);
    sendMouse(&box, QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton, Qt::RightButton);
    QCOMPARE(presses.last(), 2);
}

QTEST_MAIN(SignboardTest)
#include "signboard_test.moc"
