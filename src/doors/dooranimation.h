#pragma once

#include "doorcontrols.h"

#include <QRect>

#include <functional>

class DoorLeaves;
class DoorSounds;
class Pacer;

// Runs the two door movements to their end inside one call: the front door (`runFrontDoor`) and
// the middle door with its sounds (`runMiddleDoor`). Every step moves the leaves by 1 twip, reports
// the changed twip rectangle so the window can repaint it at once, then pauses for as many units
// as the door's speed bar holds at that moment.
//
// Whether a door opens or shuts, its speed and the middle-door mode come from `DoorControls`; the
// geometry lives in `DoorLeaves`; painting is left to the step callback.
class DoorAnimation
{
public:
    // Called after each step with the union of the changed leaves' old and new rectangles (twips).
    using StepShown = std::function<void(const QRect &changedTwips)>;

    // `pacer` may be null (no pauses). None is owned; all must outlive the animation.
    DoorAnimation(DoorLeaves &leaves, DoorControls &controls, Pacer *pacer, DoorSounds &sounds, StepShown stepShown);

    // Opens the front door from its current width down to its open width, or shuts it from the
    // open width up to the shut width, as the front-door toggle says. Plays no sound.
    void runFrontDoor();
    // Plays the opening sound to its end and opens the leaves of the current mode from their
    // current width, or starts the shutting sound and shuts them from the open width.
    void runMiddleDoor();

private:
    void frontStep(int width);
    void middleStep(DoorControls::MiddleMode mode, int width);
    void pause(int units);

    DoorLeaves &m_leaves;
    DoorControls &m_controls;
    Pacer *m_pacer;
    DoorSounds &m_sounds;
    StepShown m_stepShown;
};
