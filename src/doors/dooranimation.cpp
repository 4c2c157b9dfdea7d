#include "dooranimation.h"

#include "doorleaves.h"
#include "doorsounds.h"
#include "pacer.h"

#include <algorithm>

DoorAnimation::DoorAnimation(
    DoorLeaves &leaves, DoorControls &controls, Pacer *pacer, DoorSounds &sounds, StepShown stepShown)
    : m_leaves(leaves)
    , m_controls(controls)
    , m_pacer(pacer)
    , m_sounds(sounds)
    , m_stepShown(std::move(stepShown))
{
}

void DoorAnimation::runFrontDoor()
{
    const bool open = m_controls.frontOpen();
    if (m_pacer) {
        m_pacer->start();
    }
    if (open) {
        // Opening continues from wherever the leaf stands; a leaf already narrower does not move.
        for (int width = m_leaves.frontWidth(); width >= DoorLeaves::FrontOpenWidth; --width) {
            frontStep(width);
            pause(m_controls.frontSpeed());
        }
    } else {
        // Shutting always starts from the open width, so a wider leaf jumps there first.
        for (int width = DoorLeaves::FrontOpenWidth; width <= DoorLeaves::FrontShutWidth; ++width) {
            frontStep(width);
            pause(m_controls.frontSpeed());
        }
    }
}

void DoorAnimation::runMiddleDoor()
{
    if (m_controls.middleOpen()) {
        // The leaves move only after the whole opening sound has been heard.
        m_sounds.PlayWave(DoorSounds::Opening);
        // The mode is read once: the panel locks it while the door is open, so the door shuts
        // with the leaves that opened it.
        const DoorControls::MiddleMode mode = m_controls.middleMode();
        // The pacer starts after the sound, or its first deadlines would already have passed.
        if (m_pacer) {
            m_pacer->start();
        }
        const int from = mode == DoorControls::RightLeaf ? m_leaves.middleWidth(1) : m_leaves.middleWidth(0);
        for (int width = from; width >= DoorLeaves::MiddleOpenWidth; --width) {
            middleStep(mode, width);
            pause(m_controls.middleSpeed());
        }
    } else {
        m_sounds.PlayWaveAsync(DoorSounds::Closing);
        const DoorControls::MiddleMode mode = m_controls.middleMode();
        if (m_pacer) {
            m_pacer->start();
        }
        for (int width = DoorLeaves::MiddleOpenWidth; width <= DoorLeaves::MiddleShutWidth; ++width) {
            middleStep(mode, width);
            pause(m_controls.middleSpeed());
        }
    }
}

void DoorAnimation::frontStep(int width)
{
    const QRect before = m_leaves.frontLeaf();
    m_leaves.setFrontWidth(width);
    if (m_stepShown) {
        m_stepShown(before | m_leaves.frontLeaf());
    }
}

void DoorAnimation::middleStep(DoorControls::MiddleMode mode, int width)
{
    const bool left = mode != DoorControls::RightLeaf;
    const bool right = mode != DoorControls::LeftLeaf;
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
    if (m_stepShown) {
        m_stepShown(changed);
    }
}

void DoorAnimation::pause(int units)
{
    if (m_pacer) {
        m_pacer->pause(std::max(units, 0));
    }
}
