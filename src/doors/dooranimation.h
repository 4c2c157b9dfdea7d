#pragma once

#include "core/doorcontrols.h"

#include <QRect>

#include <chrono>
#include <functional>

class DoorLeaves;
class DoorSounds;
class Pacer;

// Runs the two door movements to their end inside one call: the front door (`runFrontDoor`) and
// the middle door with its sounds (`runMiddleDoor`). Every step moves the leaves by 1 twip and is
// followed by a pause of as many units as the door's speed bar holds at that moment.
//
// The steps reach the screen as often as the screen can show them: the first step, then the first
// step due in each later refresh interval, and always the last one. The steps in between are set
// without being shown and without waiting; their pauses add up to the time the next shown step is
// due, which is the one time the movement waits.
//
// Whether a door opens or shuts, its speed and the middle-door mode come from `DoorControls`; the
// geometry lives in `DoorLeaves`; painting is left to the step callback.
class DoorAnimation
{
public:
    // Called for each step shown, with the union of the old and new rectangles (twips) of every
    // leaf that moved since the previous step shown.
    using StepShown = std::function<void(const QRect &changedTwips)>;

    // `pacer` may be null: no pauses, and only the last step is shown. None is owned; all must
    // outlive the animation.
    DoorAnimation(DoorLeaves &leaves, DoorControls &controls, Pacer *pacer, DoorSounds &sounds, StepShown stepShown);

    // The refresh rate of the screen the steps are shown on, in hertz; anything below 1 (a screen
    // that does not say) counts as 60.
    void setRefreshRate(double hertz);

    // Opens the front door from its current width down to its open width, or shuts it from the
    // open width up to the shut width, as the front-door toggle says. Plays no sound.
    void runFrontDoor();
    // Plays the opening sound to its end and opens the leaves of the current mode from their
    // current width, or starts the shutting sound and shuts them from the open width.
    void runMiddleDoor();

private:
    // The widths from `from` towards `to` one twip at a time in `direction` (+1 or -1), both ends
    // included; no step if `to` lies behind `from`. `step` sets a width and returns the changed
    // rectangle; `speed` reads the pause after it.
    void move(
        int from, int to, int direction, const std::function<QRect(int)> &step, const std::function<int()> &speed);
    QRect frontStep(int width);
    QRect middleStep(MiddleDoorMode mode, int width);

    DoorLeaves &m_leaves;
    DoorControls &m_controls;
    Pacer *m_pacer;
    DoorSounds &m_sounds;
    StepShown m_stepShown;
    std::chrono::nanoseconds m_frameInterval;
};
