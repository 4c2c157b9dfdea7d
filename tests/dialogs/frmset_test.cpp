#include "frmset.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class FrmSetTest : public QObject
{
    Q_OBJECT

private slots:
    void keypad_editsTheDisplay_data();
    void keypad_editsTheDisplay();
    void toggles_reportAfterTheirValueAndTheModeLockChanged();
    void close_isRefused();
};

void FrmSetTest::keypad_editsTheDisplay_data()
{
    QTest::addColumn<QList<int>>("presses"); // 0-9 digits, 10 "C", 11 "設定"
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("jumps");
    QTest::newRow("seventh digit ignored") << QList<int>{1, 2, 3, 4, 5, 6, 7} << "123456" << 0;
    QTest::newRow("leading zeros stay") << QList<int>{0, 0, 7} << "007" << 0;
    QTest::newRow("C on an empty display") << QList<int>{10} << "" << 0;
    QTest::newRow("C clears") << QList<int>{4, 10} << "" << 0;
    QTest::newRow("設定 keeps the digits") << QList<int>{1, 2, 11} << "12" << 1;
}

void FrmSetTest::keypad_editsTheDisplay()
{
    QFETCH(QList<int>, presses);
    frmSet panel;
    QSignalSpy jumps(&panel, &frmSet::faceJumpRequested);
    for (int index : presses) {
        QTest::mouseClick(panel.Command2(index), Qt::LeftButton);
    }
    QTEST(panel.Label1()->text(), "display");
    QTEST(int(jumps.size()), "jumps");
}

void FrmSetTest::toggles_reportAfterTheirValueAndTheModeLockChanged()
{
    frmSet panel;
    QList<bool> front;
    QList<bool> frameEnabled;
    connect(&panel, &frmSet::frontDoorToggled, this, [&] { front.append(panel.Check1()->isChecked()); });
    connect(&panel, &frmSet::middleDoorToggled, this, [&] { frameEnabled.append(panel.Frame2()->isEnabled()); });

    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(panel.Check1(), Qt::LeftButton);
        QTest::mouseClick(panel.Check2(), Qt::LeftButton);
    }
    QCOMPARE(front, (QList<bool>{true, false}));
    QCOMPARE(frameEnabled, (QList<bool>{false, true}));
}

void FrmSetTest::close_isRefused()
{
    frmSet panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(!panel.close());
    QVERIFY(panel.isVisible());
}

QTEST_MAIN(FrmSetTest)
#include "frmset_test.moc"
