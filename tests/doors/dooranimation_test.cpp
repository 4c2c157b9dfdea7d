#include "doors/dooranimation.h"
#include "doors/doorleaves.h"
#include "doors/doorsounds.h"
#include "fakes/fakepacer.h"
#include "fakes/fakesoundoutput.h"

#include <QTest>

#include <array>
#include <chrono>
#include <functional>
#include <vector>

namespace {

class FakeDoorControls final : public DoorControls
{
public:
    bool frontOpen() const override { return front; }
    bool middleOpen() const override { return middle; }
    int frontSpeed() const override { return frontSpeedValue; }
    int middleSpeed() const override { return middleSpeedValue; }
    MiddleDoorMode middleMode() const override { return mode; }

    bool front = false;
    bool middle = false;
    int frontSpeedValue = 6000;
    int middleSpeedValue = 10000;
    MiddleDoorMode mode = MiddleDoorMode::Both;
};

// The front leaf (0), the middle door's left (1) and right (2) leaf of `width` twips.
QRect leaf(int index, int width)
{
    const int left[] = {390, 5025, 6705 - width};
    return {left[index], index == 0 ? 660 : 675, width, index == 0 ? 2265 : 2295};
}

// One door set-up with fakes everywhere; records the leaves at every step (when its pause is
// read) and at every step shown.
struct Rig
{
    using Leaves = std::array<QRect, 3>;
    struct Shown
    {
        int step; // index of the step shown
        Leaves leaves;
        QRect changed;
        Pacer::Clock::time_point at;
    };

    Rig()
        : sounds(&output, [this] { ++eventPasses; })
        , animation(leaves, controls, &pacer, sounds, [this](const QRect &changed) {
            shown.push_back({int(pacer.pauses.size()) - 1, now(), changed, pacer.clock});
            pacer.clock += paintTime;
        })
    {
        pacer.onPause = [this](int index) {
            steps.push_back(now());
            if (onPause) {
                onPause(index);
            }
        };
    }

    Leaves now() const { return {leaves.frontLeaf(), leaves.middleLeaf(0), leaves.middleLeaf(1)}; }
    void setWidths(int front, int left, int right)
    {
        leaves.setFrontWidth(front);
        leaves.setMiddleWidth(0, left);
        leaves.setMiddleWidth(1, right);
        leaves.setMiddleRightLeft(6705 - right);
    }
    QList<int> shownSteps() const
    {
        QList<int> indices;
        for (const Shown &frame : shown) {
            indices.push_back(frame.step);
        }
        return indices;
    }

    DoorLeaves leaves;
    FakeDoorControls controls;
    FakePacer pacer;
    FakeSoundOutput output;
    int eventPasses = 0;
    DoorSounds sounds;
    DoorAnimation animation;
    std::vector<Leaves> steps;
    std::vector<Shown> shown;
    std::function<void(int pauseIndex)> onPause;
    std::chrono::nanoseconds paintTime{0}; // the fake clock moves on by this much per step shown
};

} // namespace

class DoorAnimationTest : public QObject
{
    Q_OBJECT

private slots:
    void door_movesAfterItsSoundOneTwipAndOnePauseAtATime_data();
    void door_movesAfterItsSoundOneTwipAndOnePauseAtATime();
    void steps_showFirstOnePerRefreshIntervalAndLast_data();
    void steps_showFirstOnePerRefreshIntervalAndLast();
};

void DoorAnimationTest::door_movesAfterItsSoundOneTwipAndOnePauseAtATime_data()
{
    QTest::addColumn<int>("mode"); // -1 the front door, else the middle door's mode
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("start"); // width of the moving leaves; the others stand shut
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("first"); // width at the first step
    QTest::addColumn<int>("end");
    QTest::newRow("front, open from shut") << -1 << true << 1080 << 1011 << 1080 << 70;
    QTest::newRow("front, shut from open") << -1 << false << 70 << 1011 << 70 << 1080;
    QTest::newRow("front, shut from shut jumps to open width") << -1 << false << 1080 << 1011 << 70 << 1080;
    QTest::newRow("front, open at open width: one step") << -1 << true << 70 << 1 << 70 << 70;
    QTest::newRow("front, open below open width: no step") << -1 << true << 60 << 0 << 60 << 60;
    QTest::newRow("middle both, open") << 0 << true << 840 << 731 << 840 << 110;
    QTest::newRow("middle left, open") << 1 << true << 840 << 731 << 840 << 110;
    QTest::newRow("middle right, open from half way") << 2 << true << 400 << 291 << 400 << 110;
    QTest::newRow("middle both, shut") << 0 << false << 110 << 731 << 110 << 840;
    QTest::newRow("middle right, shut") << 2 << false << 110 << 731 << 110 << 840;
    QTest::newRow("middle both, shut from shut jumps") << 0 << false << 840 << 731 << 110 << 840;
}

void DoorAnimationTest::door_movesAfterItsSoundOneTwipAndOnePauseAtATime()
{
    QFETCH(int, mode);
    QFETCH(bool, open);
    QFETCH(int, start);
    QFETCH(int, steps);
    QFETCH(int, first);
    QFETCH(int, end);
    const bool front = mode < 0;
    const std::array<bool, 3> moves{front,
        !front && MiddleDoorMode(mode) != MiddleDoorMode::RightLeaf,
        !front && MiddleDoorMode(mode) != MiddleDoorMode::LeftLeaf};
    Rig rig;
    rig.setWidths(moves[0] ? start : 1080, moves[1] ? start : 840, moves[2] ? start : 840);
    rig.controls.front = rig.controls.middle = open;
    // The mode is chosen while the sound starts; a change after that is too late for this movement.
    rig.controls.mode = MiddleDoorMode((mode + 1) % 3);
    int stepsAtSound = -1, pacerStartsAtSound = -1, passesAtSound = -1, passesAtFirstPause = -1;
    rig.output.onPlay = [&] {
        stepsAtSound = int(rig.steps.size());
        pacerStartsAtSound = rig.pacer.starts;
        passesAtSound = rig.eventPasses;
        rig.controls.mode = MiddleDoorMode(mode);
    };
    // Every pause moves the bars on, as if the user dragged them during the movement.
    rig.onPause = [&](int index) {
        passesAtFirstPause = index == 0 ? rig.eventPasses : passesAtFirstPause;
        rig.controls.mode = MiddleDoorMode((mode + 2) % 3);
        rig.controls.frontSpeedValue = 1 + index;
        rig.controls.middleSpeedValue = 30000 - index;
    };
    const Rig::Leaves before = rig.now();

    front ? rig.animation.runFrontDoor() : rig.animation.runMiddleDoor();

    QCOMPARE(int(rig.steps.size()), steps);
    QCOMPARE(int(rig.pacer.pauses.size()), steps);
    long long units = 0;
    for (int i = 0; i < steps; ++i) {
        // The door's own bar, read afresh before every pause.
        QCOMPARE(rig.pacer.pauses[i], i == 0 ? (front ? 6000 : 10000) : (front ? i : 30001 - i));
        units += rig.pacer.pauses[i];
        for (int index = 0; index < 3; ++index) {
            QCOMPARE(rig.steps[i][index], moves[index] ? leaf(index, open ? first - i : first + i) : before[index]);
        }
    }
    for (int index = 0; index < 3; ++index) {
        QCOMPARE(rig.now()[index], moves[index] ? leaf(index, end) : before[index]);
    }
    // The movement lasts as long as its pauses add up to, the one after the last step included.
    QCOMPARE(rig.pacer.clock - Pacer::Clock::time_point(), units * Pacer::Unit);

    // Each picture repaints where the moving leaves stood at the picture before and everywhere they
    // have stood since; the last step is always shown.
    QCOMPARE(rig.shown.empty() ? -1 : rig.shown.back().step, steps - 1);
    int previous = -1;
    for (const Rig::Shown &frame : rig.shown) {
        for (int i = previous; i <= frame.step; ++i) {
            for (int index = 0; index < 3; ++index) {
                QVERIFY(!moves[index] || frame.changed.contains(i < 0 ? before[index] : rig.steps[i][index]));
            }
        }
        previous = frame.step;
    }

    // The front door is silent. The middle door plays the whole opening sound, or starts the
    // shutting sound and handles the waiting events once, before its leaves move; the pacer's
    // clock starts after the sound, so the first pauses are not cut short.
    QCOMPARE(int(rig.output.plays.size()), front ? 0 : 1);
    QCOMPARE(rig.eventPasses, front || open ? 0 : 1);
    if (!front) {
        QCOMPARE(rig.output.plays[0].mode, open ? SoundOutput::Mode::Wait : SoundOutput::Mode::Background);
        QCOMPARE(rig.output.plays[0].wave, DoorSounds::loadWave(open ? 101 : 102).valueOr(QByteArray()));
        QCOMPARE(rig.sounds.WaveData(), rig.output.plays[0].wave);
        QCOMPARE(stepsAtSound, 0);
        QCOMPARE(pacerStartsAtSound, 0);
        QCOMPARE(passesAtSound, 0);
        QCOMPARE(passesAtFirstPause, open ? 0 : 1);
    }
}

void DoorAnimationTest::steps_showFirstOnePerRefreshIntervalAndLast_data()
{
    // The front door opens from 90 twips: 21 steps at a steady speed.
    QTest::addColumn<double>("refreshRate");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("paintMs"); // how long showing a step takes
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<double>("endMs");
    // A step every 7.5 ms; a picture every 20 ms or 10 ms.
    QTest::newRow("50 Hz, slow") << 50.0 << 30000 << 0 << QList<int>{0, 3, 6, 8, 11, 14, 16, 19, 20} << 157.5;
    QTest::newRow("100 Hz, slow") << 100.0 << 30000 << 0
                                  << QList<int>{0, 2, 3, 4, 6, 7, 8, 10, 11, 12, 14, 15, 16, 18, 19, 20} << 157.5;
    // A screen that does not say shows 60 pictures a second: a step every 3.5 ms, 4.76 to a picture.
    QTest::newRow("rate unknown: 60 Hz") << 0.0 << 14000 << 0 << QList<int>{0, 5, 10, 15, 20} << 73.5;
    QTest::newRow("whole movement in one interval") << 50.0 << 1000 << 0 << QList<int>{0, 20} << 5.25;
    // Painting (25 ms) slower than the screen (20 ms): each picture shows the step due when the
    // previous one is done, and the steps already overdue are passed over.
    QTest::newRow("painting slower than the screen")
        << 50.0 << 30000 << 25 << QList<int>{0, 3, 6, 10, 13, 16, 20} << 175.0;
}

void DoorAnimationTest::steps_showFirstOnePerRefreshIntervalAndLast()
{
    QFETCH(double, refreshRate);
    QFETCH(int, speed);
    QFETCH(int, paintMs);
    QFETCH(double, endMs);
    Rig rig;
    rig.setWidths(90, 840, 840);
    rig.controls.front = true;
    rig.controls.frontSpeedValue = speed;
    rig.paintTime = std::chrono::milliseconds(paintMs);
    rig.animation.setRefreshRate(refreshRate);

    rig.animation.runFrontDoor();

    QTEST(rig.shownSteps(), "shown");
    for (const Rig::Shown &frame : rig.shown) {
        // A step is shown when it is due, never sooner; late only while painting lags behind.
        const auto due = Pacer::Clock::time_point() + frame.step * speed * Pacer::Unit;
        QVERIFY(paintMs > 0 ? frame.at >= due : frame.at == due);
        QCOMPARE(frame.leaves[0], leaf(0, 90 - frame.step));
    }
    using Milliseconds = std::chrono::duration<double, std::milli>;
    QCOMPARE(Milliseconds(rig.pacer.clock - Pacer::Clock::time_point()).count(), endMs);
}

QTEST_GUILESS_MAIN(DoorAnimationTest)
#include "dooranimation_test.moc"
