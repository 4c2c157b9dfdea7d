#include "doorsounds.h"
#include "fakes/fakepacer.h"
#include "fakes/fakesoundoutput.h"
#include "form1.h"
#include "frmset.h"

#include <QAbstractButton>
#include <QGroupBox>
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
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
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

    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    FakePacer pacer;
    FakeSoundOutput sound;
    std::unique_ptr<Form1> form;
    frmSet *panel = nullptr;
    PaintCounter paints;
};

} // namespace

// The bus window's door operations driven through the settings panel, as the user drives them.
class Form1DoorsTest : public QObject
{
    Q_OBJECT

private slots:
    void frontToggle_movesTheFrontDoorAtTheBarsSpeedReadEveryStep();
    void middleToggle_movesTheChosenLeafWithItsSounds_data();
    void middleToggle_movesTheChosenLeafWithItsSounds();
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

    bus.click(bus.panel->Check1());

    QCOMPARE(bus.form->doorLeaves().frontWidth(), 70);
    QCOMPARE(int(bus.pacer.pauses.size()), 1011);
    QCOMPARE(bus.pacer.pauses[500], 1);
    QCOMPARE(bus.pacer.pauses[501], 30000);
    QVERIFY(bus.sound.plays.empty());
    // Every step was painted while the door moved.
    QVERIFY2(bus.paints.paints >= 1011, qPrintable(QString::number(bus.paints.paints)));

    bus.click(bus.panel->Check1());
    QCOMPARE(bus.form->doorLeaves().frontWidth(), 1080);
    QCOMPARE(int(bus.pacer.pauses.size()), 2022);
}

void Form1DoorsTest::middleToggle_movesTheChosenLeafWithItsSounds_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("openLeft");
    QTest::addColumn<QRect>("openRight");
    const QRect leftShut(5025, 675, 840, 2295);
    const QRect rightShut(5865, 675, 840, 2295);
    const QRect leftOpen(5025, 675, 110, 2295);
    const QRect rightOpen(6595, 675, 110, 2295);
    QTest::newRow("両方") << 0 << leftOpen << rightOpen;
    QTest::newRow("左") << 1 << leftOpen << rightShut;
    QTest::newRow("右") << 2 << leftShut << rightOpen;
}

void Form1DoorsTest::middleToggle_movesTheChosenLeafWithItsSounds()
{
    QFETCH(int, mode);
    QFETCH(QRect, openLeft);
    QFETCH(QRect, openRight);
    Bus bus;
    bus.panel->Option1(mode)->setChecked(true);
    bus.panel->HScroll2()->setValue(1234);

    bus.click(bus.panel->Check2());

    QCOMPARE(bus.form->doorLeaves().middleLeaf(0), openLeft);
    QCOMPARE(bus.form->doorLeaves().middleLeaf(1), openRight);
    QCOMPARE(bus.pacer.pauses, std::vector<int>(731, 1234));
    QCOMPARE(int(bus.sound.plays.size()), 1);
    QCOMPARE(bus.sound.plays[0].mode, SoundOutput::Mode::Wait);
    QCOMPARE(bus.sound.plays[0].wave, DoorSounds::loadWave(DoorSounds::Opening));
    QVERIFY(!bus.panel->Frame2()->isEnabled());

    bus.click(bus.panel->Check2());

    QCOMPARE(bus.form->doorLeaves().middleLeaf(0), QRect(5025, 675, 840, 2295));
    QCOMPARE(bus.form->doorLeaves().middleLeaf(1), QRect(5865, 675, 840, 2295));
    QCOMPARE(int(bus.pacer.pauses.size()), 1462);
    QCOMPARE(int(bus.sound.plays.size()), 2);
    QCOMPARE(bus.sound.plays[1].mode, SoundOutput::Mode::Background);
    QCOMPARE(bus.sound.plays[1].wave, DoorSounds::loadWave(DoorSounds::Closing));
    QVERIFY(bus.panel->Frame2()->isEnabled());
}

QTEST_MAIN(Form1DoorsTest)
#include "form1_doors_test.moc"
