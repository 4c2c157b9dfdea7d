#include "fakes/fakepacer.h"
#include "fakes/fakesoundoutput.h"
#include "form1.h"
#include "frmset.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

// Counts the paints of a window while a door moves.
class PaintCounter final : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct Bus
{
    Bus()
    {
        Form1::Services services;
        services.pacer = &pacer;
        services.sound = &sound;
        form = std::make_unique<Form1>(services);
        panel = form->settingsPanel();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->installEventFilter(&paints);
    }

    FakePacer pacer;
    FakeSoundOutput sound;
    std::unique_ptr<Form1> form;
    frmSet *panel = nullptr;
    PaintCounter paints;
};

} // namespace

// The bus window's door operations driven through the settings panel, as the user drives them.
// The movements themselves are tested on DoorAnimation.
class Form1DoorsTest : public QObject
{
    Q_OBJECT

private slots:
    void frontToggle_movesTheFrontDoorAtTheBarsSpeedReadEveryStep();
    void middleToggle_movesTheChosenLeavesWithSound_data();
    void middleToggle_movesTheChosenLeavesWithSound();
};

void Form1DoorsTest::frontToggle_movesTheFrontDoorAtTheBarsSpeedReadEveryStep()
{
    Bus bus;
    bus.panel->HScroll1()->setValue(1);
    // The bar moved during the movement counts from the next pause on.
    bus.pacer.onPause = [&bus](int index) {
        if (index == 500) {
            bus.panel->HScroll1()->setValue(30000);
        }
    };

    QTest::mouseClick(bus.panel->Check1(), Qt::LeftButton);

    QCOMPARE(bus.form->doorLeaves().frontWidth(), 70);
    QCOMPARE(int(bus.pacer.pauses.size()), 1011);
    QCOMPARE(bus.pacer.pauses[500], 1);
    QCOMPARE(bus.pacer.pauses[501], 30000);
    // Every step was painted while the door moved.
    QVERIFY2(bus.paints.paints >= 1011, qPrintable(QString::number(bus.paints.paints)));

    QTest::mouseClick(bus.panel->Check1(), Qt::LeftButton);
    QCOMPARE(bus.form->doorLeaves().frontWidth(), 1080);
    QVERIFY(bus.sound.plays.empty());
}

void Form1DoorsTest::middleToggle_movesTheChosenLeavesWithSound_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("leftWidth");
    QTest::addColumn<int>("rightWidth");
    QTest::newRow("両方") << 0 << 110 << 110;
    QTest::newRow("左") << 1 << 110 << 840;
    QTest::newRow("右") << 2 << 840 << 110;
}

void Form1DoorsTest::middleToggle_movesTheChosenLeavesWithSound()
{
    QFETCH(int, mode);
    Bus bus;
    bus.panel->Option1(mode)->setChecked(true);
    bus.panel->HScroll2()->setValue(1234);

    QTest::mouseClick(bus.panel->Check2(), Qt::LeftButton);

    QTEST(bus.form->doorLeaves().middleWidth(0), "leftWidth");
    QTEST(bus.form->doorLeaves().middleWidth(1), "rightWidth");
    QCOMPARE(bus.pacer.pauses, std::vector<int>(731, 1234));
    QCOMPARE(int(bus.sound.plays.size()), 1);

    QTest::mouseClick(bus.panel->Check2(), Qt::LeftButton);

    QCOMPARE(bus.form->doorLeaves().middleLeaf(0), QRect(5025, 675, 840, 2295));
    QCOMPARE(bus.form->doorLeaves().middleLeaf(1), QRect(5865, 675, 840, 2295));
    QCOMPARE(int(bus.sound.plays.size()), 2);
}

QTEST_MAIN(Form1DoorsTest)
#include "form1_doors_test.moc"
