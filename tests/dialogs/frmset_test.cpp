#include "frmset.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class FrmSetTest : public QObject
{
    Q_OBJECT

private slots:
    void keypad_seventhDigitIsIgnored();
    void keypad_clearOnEmptyDisplayLeavesItEmpty();
    void keypad_leadingZerosStay();
    void keypad_setButtonAsksForTheJumpAndKeepsTheDigits();
    void middleToggle_locksModeWhileOpen();
    void frontToggle_reportsAfterTheValueChanged();
    void close_isRefused();
    void window_isTopmostToolWithoutCloseButton();
    void mode_followsTheSelectedButton();
};

void FrmSetTest::keypad_seventhDigitIsIgnored()
{
    frmSet panel;
    for (int digit = 1; digit <= 7; ++digit) {
        QTest::mouseClick(panel.Command2(digit), Qt::LeftButton);
    }
    QCOMPARE(panel.Label1()->text(), QStringLiteral("123456"));
}

void FrmSetTest::keypad_clearOnEmptyDisplayLeavesItEmpty()
{
    frmSet panel;
    QTest::mouseClick(panel.Command2(10), Qt::LeftButton);
    QCOMPARE(panel.Label1()->text(), QString());
    QTest::mouseClick(panel.Command2(4), Qt::LeftButton);
    QTest::mouseClick(panel.Command2(10), Qt::LeftButton);
    QCOMPARE(panel.Label1()->text(), QString());
}

void FrmSetTest::keypad_leadingZerosStay()
{
    frmSet panel;
    for (int digit : {0, 0, 7}) {
        QTest::mouseClick(panel.Command2(digit), Qt::LeftButton);
    }
    QCOMPARE(panel.Label1()->text(), QStringLiteral("007"));
}

void FrmSetTest::keypad_setButtonAsksForTheJumpAndKeepsTheDigits()
{
    frmSet panel;
    QSignalSpy jumps(&panel, &frmSet::faceJumpRequested);
    QTest::mouseClick(panel.Command2(1), Qt::LeftButton);
    QTest::mouseClick(panel.Command2(2), Qt::LeftButton);
    QTest::mouseClick(panel.Command2(11), Qt::LeftButton);
    QCOMPARE(jumps.size(), 1);
    QCOMPARE(panel.Label1()->text(), QStringLiteral("12"));
}

void FrmSetTest::middleToggle_locksModeWhileOpen()
{
    frmSet panel;
    bool frameEnabledWhenReported = true;
    connect(&panel, &frmSet::middleDoorToggled, this, [&] { frameEnabledWhenReported = panel.Frame2()->isEnabled(); });

    QTest::mouseClick(panel.Check2(), Qt::LeftButton);
    QVERIFY(panel.Check2()->isChecked());
    QVERIFY(!frameEnabledWhenReported);
    QVERIFY(!panel.Option1(1)->isEnabled());

    QTest::mouseClick(panel.Check2(), Qt::LeftButton);
    QVERIFY(!panel.Check2()->isChecked());
    QVERIFY(frameEnabledWhenReported);
}

void FrmSetTest::frontToggle_reportsAfterTheValueChanged()
{
    frmSet panel;
    QList<bool> seen;
    connect(&panel, &frmSet::frontDoorToggled, this, [&] { seen.append(panel.Check1()->isChecked()); });
    QTest::mouseClick(panel.Check1(), Qt::LeftButton);
    QTest::mouseClick(panel.Check1(), Qt::LeftButton);
    QCOMPARE(seen, (QList<bool>{true, false}));
}

void FrmSetTest::close_isRefused()
{
    frmSet panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(!panel.close());
    QVERIFY(panel.isVisible());
}

void FrmSetTest::window_isTopmostToolWithoutCloseButton()
{
    frmSet panel;
    const Qt::WindowFlags flags = panel.windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QCOMPARE(panel.windowTitle(), QStringLiteral("設定パネル"));
}

void FrmSetTest::mode_followsTheSelectedButton()
{
    frmSet panel;
    QCOMPARE(panel.middleDoorMode(), 0);
    panel.Option1(1)->setChecked(true);
    QCOMPARE(panel.middleDoorMode(), 1);
    panel.Option1(2)->setChecked(true);
    QCOMPARE(panel.middleDoorMode(), 2);
}

QTEST_MAIN(FrmSetTest)
#include "frmset_test.moc"
