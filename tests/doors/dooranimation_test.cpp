#include "dooranimation.h"
#include "doorleaves.h"
#include "doorsounds.h"
#include "fakes/fakepacer.h"
#include "fakes/fakesoundoutput.h"

#include <QTest>

#include <vector>

namespace {

class FakeDoorControls final : public DoorControls
{
public:
    bool frontOpen() const override { return front; }
    bool middleOpen() const override { return middle; }
    int frontSpeed() const override { return frontSpeedValue; }
    int middleSpeed() const override { return middleSpeedValue; }
    MiddleMode middleMode() const override
    {
        ++modeReads;
        return mode;
    }

    bool front = false;
    bool middle = false;
    int frontSpeedValue = 6000;
    int middleSpeedValue = 10000;
    MiddleMode mode = Both;
    mutable int modeReads = 0;
};

// One door set-up with fakes everywhere; records the leaves after every step.
struct Rig
{
    struct Step
    {
        QRect front;
        QRect left;
        QRect right;
        QRect changed;
    };

    Rig()
        : sounds(&output, [this] { ++eventPasses; })
        , animation(leaves, controls, &pacer, sounds, [this](const QRect &changed) {
            steps.push_back({leaves.frontLeaf(), leaves.middleLeaf(0), leaves.middleLeaf(1), changed});
        })
    {
    }

    void setMiddleWidths(int left, int right)
    {
        leaves.setMiddleWidth(0, left);
        leaves.setMiddleWidth(1, right);
        leaves.setMiddleRightLeft(DoorLeaves::MiddleRightEdge - right);
    }

    DoorLeaves leaves;
    FakeDoorControls controls;
    FakePacer pacer;
    FakeSoundOutput output;
    int eventPasses = 0;
    DoorSounds sounds;
    DoorAnimation animation;
    std::vector<Step> steps;
};

QRect frontRect(int width)
{
    return {DoorLeaves::FrontLeft, DoorLeaves::FrontTop, width, DoorLeaves::FrontHeight};
}
QRect leftRect(int width)
{
    return {DoorLeaves::MiddleLeftLeft, DoorLeaves::MiddleTop, width, DoorLeaves::MiddleHeight};
}
QRect rightRect(int width)
{
    return {DoorLeaves::MiddleRightEdge - width, DoorLeaves::MiddleTop, width, DoorLeaves::MiddleHeight};
}

} // namespace

class DoorAnimationTest : public QObject
{
    Q_OBJECT

private slots:
    void front_stepsOneTwipAndPausesAfterEach_data();
    void front_stepsOneTwipAndPausesAfterEach();
    void middle_movesTheLeavesOfItsMode_data();
    void middle_movesTheLeavesOfItsMode();
    void speed_isReadBeforeEveryPause_data();
    void speed_isReadBeforeEveryPause();
    void opening_playsTheWholeSoundBeforeTheLeavesMove();
    void shutting_startsTheSoundAndOneEventPassBeforeTheFirstStep();
    void middle_readsTheModeOncePerMovement();
    void front_isSilent();
};

void DoorAnimationTest::front_stepsOneTwipAndPausesAfterEach_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("startWidth");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("firstWidth");
    QTest::addColumn<int>("endWidth");
    QTest::newRow("open from shut") << true << 1080 << 1011 << 1080 << 70;
    QTest::newRow("shut from open") << false << 70 << 1011 << 70 << 1080;
    QTest::newRow("shut from shut jumps to open width") << false << 1080 << 1011 << 70 << 1080;
    QTest::newRow("open from half way") << true << 500 << 431 << 500 << 70;
    QTest::newRow("open at open width: one step") << true << 70 << 1 << 70 << 70;
    QTest::newRow("open below open width: no step") << true << 60 << 0 << 60 << 60;
}

void DoorAnimationTest::front_stepsOneTwipAndPausesAfterEach()
{
    QFETCH(bool, open);
    QFETCH(int, startWidth);
    QFETCH(int, steps);
    QFETCH(int, firstWidth);
    QFETCH(int, endWidth);
    Rig rig;
    rig.leaves.setFrontWidth(startWidth);
    rig.controls.front = open;

    rig.animation.runFrontDoor();

    QCOMPARE(int(rig.steps.size()), steps);
    QCOMPARE(rig.pacer.pauses, std::vector<int>(steps, 6000));
    QCOMPARE(rig.pacer.starts, 1);
    QCOMPARE(rig.leaves.frontWidth(), endWidth);
    if (steps == 0) {
        return;
    }
    QCOMPARE(rig.steps.front().front, frontRect(firstWidth));
    // The first repaint covers where the leaf was, also when it jumps.
    QVERIFY(rig.steps.front().changed.contains(frontRect(startWidth)));
    for (size_t i = 1; i < rig.steps.size(); ++i) {
        QCOMPARE(std::abs(rig.steps[i].front.width() - rig.steps[i - 1].front.width()), 1);
        QCOMPARE(rig.steps[i].front.left(), DoorLeaves::FrontLeft);
        QVERIFY(rig.steps[i].changed.contains(rig.steps[i - 1].front));
        QVERIFY(rig.steps[i].changed.contains(rig.steps[i].front));
    }
    QCOMPARE(rig.leaves.middleLeaf(0), leftRect(840));
    QCOMPARE(rig.leaves.middleLeaf(1), rightRect(840));
}

void DoorAnimationTest::middle_movesTheLeavesOfItsMode_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("startLeft");
    QTest::addColumn<int>("startRight");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QRect>("endLeft");
    QTest::addColumn<QRect>("endRight");
    const QRect leftOpen(5025, 675, 110, 2295); // spans 5025 to 5135
    const QRect rightOpen(6595, 675, 110, 2295); // spans 6595 to 6705
    QTest::newRow("open both") << true << 0 << 840 << 840 << 731 << leftOpen << rightOpen;
    QTest::newRow("open left") << true << 1 << 840 << 840 << 731 << leftOpen << rightRect(840);
    QTest::newRow("open right") << true << 2 << 840 << 840 << 731 << leftRect(840) << rightOpen;
    QTest::newRow("shut both") << false << 0 << 110 << 110 << 731 << leftRect(840) << rightRect(840);
    QTest::newRow("shut left") << false << 1 << 110 << 840 << 731 << leftRect(840) << rightRect(840);
    QTest::newRow("shut right") << false << 2 << 840 << 110 << 731 << leftRect(840) << rightRect(840);
    QTest::newRow("shut both from shut: jump to open width")
        << false << 0 << 840 << 840 << 731 << leftRect(840) << rightRect(840);
    QTest::newRow("open right from half way") << true << 2 << 840 << 400 << 291 << leftRect(840) << rightOpen;
}

void DoorAnimationTest::middle_movesTheLeavesOfItsMode()
{
    QFETCH(bool, open);
    QFETCH(int, mode);
    QFETCH(int, startLeft);
    QFETCH(int, startRight);
    QFETCH(int, steps);
    QFETCH(QRect, endLeft);
    QFETCH(QRect, endRight);
    Rig rig;
    rig.setMiddleWidths(startLeft, startRight);
    rig.controls.middle = open;
    rig.controls.mode = DoorControls::MiddleMode(mode);
    const QRect startLeftRect = rig.leaves.middleLeaf(0);
    const QRect startRightRect = rig.leaves.middleLeaf(1);

    rig.animation.runMiddleDoor();

    QCOMPARE(int(rig.steps.size()), steps);
    QCOMPARE(rig.pacer.pauses, std::vector<int>(steps, 10000));
    QCOMPARE(rig.leaves.middleLeaf(0), endLeft);
    QCOMPARE(rig.leaves.middleLeaf(1), endRight);
    QCOMPARE(rig.leaves.frontLeaf(), frontRect(1080));

    const bool movesLeft = mode != 2;
    const bool movesRight = mode != 1;
    const int firstWidth = open ? (mode == 2 ? startRight : startLeft) : 110;
    for (size_t i = 0; i < rig.steps.size(); ++i) {
        const Rig::Step &step = rig.steps[i];
        const int width = open ? firstWidth - int(i) : firstWidth + int(i);
        QCOMPARE(step.left, movesLeft ? leftRect(width) : startLeftRect);
        QCOMPARE(step.right, movesRight ? rightRect(width) : startRightRect);
        const Rig::Step *before = i > 0 ? &rig.steps[i - 1] : nullptr;
        if (movesLeft) {
            QVERIFY(step.changed.contains(before ? before->left : startLeftRect));
        }
        if (movesRight) {
            QVERIFY(step.changed.contains(before ? before->right : startRightRect));
            QVERIFY(step.changed.contains(step.right));
        }
    }
}

void DoorAnimationTest::speed_isReadBeforeEveryPause_data()
{
    QTest::addColumn<bool>("front");
    QTest::newRow("front door") << true;
    QTest::newRow("middle door") << false;
}

void DoorAnimationTest::speed_isReadBeforeEveryPause()
{
    QFETCH(bool, front);
    Rig rig;
    rig.controls.front = true;
    rig.controls.middle = true;
    // Every pause moves the bar on by one, as if the user dragged it during the movement.
    rig.pacer.onPause = [&rig](int index) {
        rig.controls.frontSpeedValue = 1 + index;
        rig.controls.middleSpeedValue = 30000 - index;
    };

    front ? rig.animation.runFrontDoor() : rig.animation.runMiddleDoor();

    const int steps = front ? 1011 : 731;
    QCOMPARE(int(rig.pacer.pauses.size()), steps);
    QCOMPARE(rig.pacer.pauses.front(), front ? 6000 : 10000);
    for (int i = 1; i < steps; ++i) {
        QCOMPARE(rig.pacer.pauses[i], front ? i : 30001 - i);
    }
}

void DoorAnimationTest::opening_playsTheWholeSoundBeforeTheLeavesMove()
{
    Rig rig;
    rig.controls.middle = true;
    int stepsAtSound = -1;
    int pacerStartsAtSound = -1;
    rig.output.onPlay = [&] {
        stepsAtSound = int(rig.steps.size());
        pacerStartsAtSound = rig.pacer.starts;
    };

    rig.animation.runMiddleDoor();

    QCOMPARE(int(rig.output.plays.size()), 1);
    QCOMPARE(rig.output.plays[0].mode, SoundOutput::Mode::Wait);
    QCOMPARE(rig.output.plays[0].wave, DoorSounds::loadWave(DoorSounds::Opening));
    QCOMPARE(stepsAtSound, 0);
    // The pacer's clock starts after the sound, so the first pauses are not cut short.
    QCOMPARE(pacerStartsAtSound, 0);
    QCOMPARE(rig.pacer.starts, 1);
    QCOMPARE(rig.eventPasses, 0);
}

void DoorAnimationTest::shutting_startsTheSoundAndOneEventPassBeforeTheFirstStep()
{
    Rig rig;
    rig.setMiddleWidths(110, 110);
    rig.controls.middle = false;
    int stepsAtSound = -1;
    rig.output.onPlay = [&] {
        stepsAtSound = int(rig.steps.size());
    };
    int passesAtFirstStep = -1;
    rig.pacer.onPause = [&](int index) {
        if (index == 0) {
            passesAtFirstStep = rig.eventPasses;
        }
    };

    rig.animation.runMiddleDoor();

    QCOMPARE(int(rig.output.plays.size()), 1);
    QCOMPARE(rig.output.plays[0].mode, SoundOutput::Mode::Background);
    QCOMPARE(rig.output.plays[0].wave, DoorSounds::loadWave(DoorSounds::Closing));
    QCOMPARE(stepsAtSound, 0);
    QCOMPARE(passesAtFirstStep, 1);
    QCOMPARE(rig.eventPasses, 1);
}

void DoorAnimationTest::middle_readsTheModeOncePerMovement()
{
    Rig rig;
    rig.controls.middle = true;
    rig.controls.mode = DoorControls::LeftLeaf;
    rig.pacer.onPause = [&rig](int) {
        rig.controls.mode = DoorControls::RightLeaf;
    };

    rig.animation.runMiddleDoor();

    QCOMPARE(rig.controls.modeReads, 1);
    QCOMPARE(rig.leaves.middleLeaf(0), leftRect(110));
    QCOMPARE(rig.leaves.middleLeaf(1), rightRect(840));

    rig.controls.middle = false;
    rig.controls.mode = DoorControls::LeftLeaf;
    rig.animation.runMiddleDoor();

    QCOMPARE(rig.controls.modeReads, 2);
    QCOMPARE(rig.leaves.middleLeaf(0), leftRect(840));
    QCOMPARE(rig.leaves.middleLeaf(1), rightRect(840));
}

void DoorAnimationTest::front_isSilent()
{
    Rig rig;
    rig.controls.front = true;
    rig.animation.runFrontDoor();
    rig.controls.front = false;
    rig.animation.runFrontDoor();

    QVERIFY(rig.output.plays.empty());
    QCOMPARE(rig.eventPasses, 0);
    QVERIFY(rig.sounds.WaveData().isEmpty());
}

QTEST_GUILESS_MAIN(DoorAnimationTest)
#include "dooranimation_test.moc"
