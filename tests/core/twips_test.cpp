#include "core/twips.h"

#include <QTest>

#include <limits>

namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

} // namespace

class TwipsTest : public QObject
{
    Q_OBJECT

private slots:
    void toPixels_roundsHalfAwayFromZeroForEveryInt_data();
    void toPixels_roundsHalfAwayFromZeroForEveryInt();
    void fromPixels_beyondTheRange_givesItsEnds_data();
    void fromPixels_beyondTheRange_givesItsEnds();
    void rectangles_ofAnySize_convertTheirEdges_data();
    void rectangles_ofAnySize_convertTheirEdges();
};

void TwipsTest::toPixels_roundsHalfAwayFromZeroForEveryInt_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("7") << 7 << 0;
    QTest::newRow("8") << 8 << 1;
    QTest::newRow("-7") << -7 << 0;
    QTest::newRow("-8") << -8 << -1;
    QTest::newRow("1079") << 1079 << 72;
    QTest::newRow("largest") << IntMax << 143165576; // 15 * 143165576 + 7
    QTest::newRow("largest - 7") << IntMax - 7 << 143165576;
    QTest::newRow("smallest") << IntMin << -143165577; // -(15 * 143165576 + 8)
    QTest::newRow("smallest + 1") << IntMin + 1 << -143165576;
}

void TwipsTest::toPixels_roundsHalfAwayFromZeroForEveryInt()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(twips), pixels);
}

void TwipsTest::fromPixels_beyondTheRange_givesItsEnds_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("twips");
    QTest::newRow("-3") << -3 << -45;
    QTest::newRow("one more") << 143165577 << IntMax;
    QTest::newRow("one less") << -143165577 << IntMin;
}

void TwipsTest::fromPixels_beyondTheRange_givesItsEnds()
{
    QFETCH(int, pixels);
    QFETCH(int, twips);
    QCOMPARE(Twips::fromPixels(pixels), twips);
}

void TwipsTest::rectangles_ofAnySize_convertTheirEdges_data()
{
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QRectF>("exact");
    QTest::newRow("the roll sign") << QRect(7005, 480, 780, 480) << QRect(467, 32, 52, 32) << QRectF(467, 32, 52, 32);
    QTest::newRow("a door leaf") << QRect(-7, 8, 1079, 22) << QRect(0, 1, 72, 1)
                                 << QRectF(-7 / 15.0, 8 / 15.0, 1079 / 15.0, 22 / 15.0);
    // Every int inside: 2^32 twips wide and high.
    QTest::newRow("the whole range") << QRect(QPoint(IntMin, IntMin), QPoint(IntMax, IntMax))
                                     << QRect(-143165577, -143165577, 286331153, 286331153)
                                     << QRectF(IntMin / 15.0, IntMin / 15.0, 4294967296 / 15.0, 4294967296 / 15.0);
}

void TwipsTest::rectangles_ofAnySize_convertTheirEdges()
{
    QFETCH(QRect, twips);
    QFETCH(QRect, pixels);
    QFETCH(QRectF, exact);
    QCOMPARE(Twips::toPixels(twips), pixels);
    QCOMPARE(Twips::toPixelsF(twips), exact);
}

QTEST_GUILESS_MAIN(TwipsTest)
#include "twips_test.moc"
