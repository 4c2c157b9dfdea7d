#include "doors/dooranimation.h"

#include "doors/doorleaves.h"
#include "doors/doorsounds.h"
#include "platform/pacer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DefaultRefreshRate = 60;

// Stands in for a missing pacer: no pauses, and a clock that stands still.
class NoPacer final : public Pacer
{
public:
    void start() override { }
    void pause(int) override { }
    Clock::time_point deadline() const override { return {}; }
    Clock::time_point now() const override { return {}; }
    void waitUntil(Clock::time_point) override { }
};

NoPacer noPacer;

} // namespace

DoorAnimation::DoorAnimation(
    DoorLeaves &leaves, DoorControls &controls, Pacer *pacer, DoorSounds &sounds, StepShown stepShown)
    : m_leaves(leaves)
    , m_controls(controls)
    , m_pacer(pacer ? pacer : &noPacer)
    , m_sounds(sounds)
    , m_stepShown(std::move(stepShown))
{
    setRefreshRate(DefaultRefreshRate);
}

void DoorAnimation::setRefreshRate(double hertz)
{
    // `!(hertz >= 1)` also catches a rate that is not a number.
    const double rate = !(hertz >= 1) ? DefaultRefreshRate : hertz;
    m_frameInterval = std::chrono::nanoseconds(std::llround(1e9 / rate));
}

void DoorAnimation::runFrontDoor()
{
    const auto step = [this](int width) {
        return frontStep(width);
    };
    const auto speed = [this] {
        return m_controls.frontSpeed();
    };
    if (m_controls.frontOpen()) {
        // Opening continues from wherever the leaf stands; a leaf already narrower does not move.
        move(m_leaves.frontWidth(), DoorLeaves::FrontOpenWidth, -1, step, speed);
    } else {
        // Shutting always starts from the open width, so a wider leaf jumps there first.
        move(DoorLeaves::FrontOpenWidth, DoorLeaves::FrontShutWidth, +1, step, speed);
    }
}

void DoorAnimation::runMiddleDoor()
{
    const auto speed = [this] {
        return m_controls.middleSpeed();
    };
    if (m_controls.middleOpen()) {
        // The leaves move only after the whole opening sound has been heard.
        m_sounds.PlayWave(DoorSounds::Opening);
        // The mode is read once: the panel locks it while the door is open, so the door shuts
        // with the leaves that opened it.
        const MiddleDoorMode mode = m_controls.middleMode();
        const int from = mode == MiddleDoorMode::RightLeaf ? m_leaves.middleWidth(1) : m_leaves.middleWidth(0);
        move(
            from, DoorLeaves::MiddleOpenWidth, -1, [this, mode](int width) { return middleStep(mode, width); }, speed);
    } else {
        m_sounds.PlayWaveAsync(DoorSounds::Closing);
        const MiddleDoorMode mode = m_controls.middleMode();
        move(
            DoorLeaves::MiddleOpenWidth,
            DoorLeaves::MiddleShutWidth,
            +1,
            [this, mode](int width) { return middleStep(mode, width); },
            speed);
    }
}

void DoorAnimation::move(
    int from, int to, int direction, const std::function<QRect(int)> &step, const std::function<int()> &speed)
{
    // The pacer starts after any sound, or the first deadlines would already have passed.
    m_pacer->start();
    const Pacer::Clock::time_point start = m_pacer->deadline();
    const int count = (to - from) * direction + 1;
    long long shownFrame = -1; // the refresh interval, counted from the start, of the step shown last
    QRect changed;
    for (int index = 0; index < count; ++index) {
        const Pacer::Clock::time_point due = m_pacer->deadline();
        changed |= step(from + index * direction);
        // The speed is read before every pause, so each step uses the bar's value at that moment.
        m_pacer->pause(std::max(speed(), 0));

        // A step is shown when it is the first one due in a later refresh interval than the step
        // shown last, or when it is the last step. A step that is overdue while the next one is
        // due as well (the painting fell behind) is skipped, so that the screen catches up with
        // the steps instead of showing every one of them late.
        const Pacer::Clock::time_point now = m_pacer->now();
        const bool last = index == count - 1;
        const long long frame = (std::max(due, now) - start) / m_frameInterval;
        if (last || (frame > shownFrame && m_pacer->deadline() > now)) {
            m_pacer->waitUntil(due);
            if (m_stepShown) {
                m_stepShown(changed);
            }
            changed = {};
            shownFrame = frame;
        }
    }
    // The pause after the last step.
    m_pacer->waitUntil(m_pacer->deadline());
}

QRect DoorAnimation::frontStep(int width)
{
    const QRect before = m_leaves.frontLeaf();
    m_leaves.setFrontWidth(width);
    return before | m_leaves.frontLeaf();
}

QRect DoorAnimation::middleStep(MiddleDoorMode mode, int width)
{
    const bool left = mode != MiddleDoorMode::RightLeaf;
    const bool right = mode != MiddleDoorMode::LeftLeaf;
    QRect changed;
    if (left) {
        changed |= m_leaves.middleLeaf(0);
        m_leaves.setMiddleWidth(0, width);
        changed |= m_leaves.middleLeaf(0);
    }
    if (right) {
        changed |= m_leaves.middleLeaf(1);
        m_leaves.setMiddleWidth(1, width);
        m_leaves.setMiddleRightLeft(DoorLeaves::MiddleRightEdge - width);
        changed |= m_leaves.middleLeaf(1);
    }
    return changed;
}
