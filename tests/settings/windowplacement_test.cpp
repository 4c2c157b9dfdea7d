#include "settings/windowplacement.h"

#include <QTest>

#include <limits>

namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

// A screen of 1920 x 1080 whose bottom 40 pixels hold a task bar.
const QRect Screen(0, 0, 1920, 1040);
// Two screens side by side with 100 pixels between them; the right one is lower.
const QList<QRect> TwoScreens{QRect(0, 0, 1920, 1080), QRect(2020, 0, 1280, 1024)};

QRect frameAt(int left, int top, int width = 800, int height = 600)
{
    return {QPoint(left, top), QPoint(left + (width - 1), top + (height - 1))};
}

} // namespace

class WindowPlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void place_keepsAnyPlaceOnAScreenOrFitsItInsideTheNearest_data();
    void place_keepsAnyPlaceOnAScreenOrFitsItInsideTheNearest();
};

void WindowPlacementTest::place_keepsAnyPlaceOnAScreenOrFitsItInsideTheNearest_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QPoint>("placed");
    QTest::addColumn<QPoint>("fitted"); // wholly inside the nearest screen, where it is visible too
    const QList<QRect> one{Screen};
    QTest::newRow("on the screen") << frameAt(100, 100) << one << QPoint(100, 100) << QPoint(100, 100);
    QTest::newRow("one pixel column on the screen")
        << frameAt(1919, 100) << one << QPoint(1919, 100) << QPoint(1120, 100);
    QTest::newRow("one pixel row above it") << frameAt(100, -599) << one << QPoint(100, -599) << QPoint(100, 0);
    QTest::newRow("beyond the left") << frameAt(-800, 100) << one << QPoint(0, 100) << QPoint(0, 100);
    QTest::newRow("beyond the right") << frameAt(1920, 100) << one << QPoint(1120, 100) << QPoint(1120, 100);
    QTest::newRow("beyond the top") << frameAt(100, -600) << one << QPoint(100, 0) << QPoint(100, 0);
    QTest::newRow("on the task bar, beyond the available area")
        << frameAt(100, 1040) << one << QPoint(100, 440) << QPoint(100, 440);
    QTest::newRow("beyond a corner") << frameAt(30000, -20000) << one << QPoint(1120, 0) << QPoint(1120, 0);
    QTest::newRow("larger than the screen") << frameAt(-3000, 2000, 2500, 1500) << one << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("wider than the screen") << frameAt(5000, 100, 2500, 300) << one << QPoint(0, 100) << QPoint(0, 100);
    QTest::newRow("no screens") << frameAt(-5000, 100) << QList<QRect>() << QPoint(-5000, 100) << QPoint(-5000, 100);

    QTest::newRow("in the gap, nearer the left screen")
        << frameAt(1930, 100, 60, 40) << TwoScreens << QPoint(1860, 100) << QPoint(1860, 100);
    QTest::newRow("in the gap, nearer the right screen")
        << frameAt(1955, 100, 60, 40) << TwoScreens << QPoint(2020, 100) << QPoint(2020, 100);
    QTest::newRow("in the gap, as near to both")
        << frameAt(1940, 100, 60, 40) << TwoScreens << QPoint(1860, 100) << QPoint(1860, 100);
    // 180 pixels right of the left screen, 26 below the right one.
    QTest::newRow("below the lower screen")
        << frameAt(2100, 1050) << TwoScreens << QPoint(2100, 424) << QPoint(2100, 424);

    // A settings line holding the ends of its 32-bit fields, in pixels; then the ends of int.
    QTest::newRow("the line's largest place")
        << frameAt(143165576, 143165576) << TwoScreens << QPoint(2500, 424) << QPoint(2500, 424);
    QTest::newRow("the line's smallest place")
        << frameAt(-143165577, -143165577) << TwoScreens << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("at int's largest corner") << QRect(QPoint(IntMax - 799, IntMax - 599), QPoint(IntMax, IntMax)) << one
                                             << QPoint(1120, 440) << QPoint(1120, 440);
    QTest::newRow("at int's smallest corner")
        << QRect(QPoint(IntMin, IntMin), QPoint(IntMin + 799, IntMin + 599)) << one << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("over every int") << QRect(QPoint(IntMin, IntMin), QPoint(IntMax, IntMax)) << one
                                    << QPoint(IntMin, IntMin) << QPoint(0, 0);
}

void WindowPlacementTest::place_keepsAnyPlaceOnAScreenOrFitsItInsideTheNearest()
{
    QFETCH(QRect, frame);
    QFETCH(QList<QRect>, screens);
    QFETCH(QPoint, placed);
    QFETCH(QPoint, fitted);
    QCOMPARE(WindowPlacement::onScreen(frame, screens), placed);
    QCOMPARE(WindowPlacement::inside(frame, screens), fitted);
}

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "windowplacement_test.moc"
