#include "dialogs/frmset.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
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
    void click_focusesTheControl_thenTheKeysWorkIt_data();
    void click_focusesTheControl_thenTheKeysWorkIt();
};

void FrmSetTest::keypad_editsTheDisplay_data()
{
    QTest::addColumn<QList<int>>("presses"); // 0-9 digits, 10 "C", 11 "設定"
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("jumps");
    QTest::newRow("seventh digit ignored") << QList<int>{1, 2, 3, 4, 5, 6, 7} << "123456" << 0;
    QTest::newRow("leading zeros stay") << QList<int>{0, 0, 7} << "007" << 0;
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

void FrmSetTest::click_focusesTheControl_thenTheKeysWorkIt_data()
{
    // The speed bars start at 6000 (HScroll1) and 10000 (HScroll2); the toggles unchecked.
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("value"); // the bar's value, or the toggle's checked state
    QTest::newRow("Right by 1") << "HScroll1" << QList<int>{Qt::Key_Right, Qt::Key_Right} << 6002;
    QTest::newRow("Page Down by 1") << "HScroll2" << QList<int>{Qt::Key_PageDown} << 10001;
    QTest::newRow("Home to 1") << "HScroll2" << QList<int>{Qt::Key_Home} << 1;
    QTest::newRow("End to 30000") << "HScroll1" << QList<int>{Qt::Key_End} << 30000;
    QTest::newRow("Space opens the front door") << "Check1" << QList<int>{Qt::Key_Space} << 1;
}

void FrmSetTest::click_focusesTheControl_thenTheKeysWorkIt()
{
    QFETCH(QString, control);
    QFETCH(QList<int>, keys);
    frmSet panel;
    panel.show();
    QApplication::setActiveWindow(&panel);
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    auto widget = panel.findChild<QWidget *>(control);
    QVERIFY(widget);
    auto bar = qobject_cast<QScrollBar *>(widget);
    const int start = bar ? bar->value() : 0;
    // A press on the middle of a bar may step it: only the focus counts here.
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    QCOMPARE(QApplication::focusWidget(), widget);
    if (bar) {
        bar->setValue(start);
    } else {
        qobject_cast<QAbstractButton *>(widget)->setChecked(false);
    }
    for (int key : keys) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    }
    QTEST(bar ? bar->value() : int(qobject_cast<QAbstractButton *>(widget)->isChecked()), "value");
}

QTEST_MAIN(FrmSetTest)
#include "frmset_test.moc"
