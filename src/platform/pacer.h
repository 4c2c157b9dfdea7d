#pragma once

// Paces the door animations: one pause after every step, of as many units as the door's speed
// bar holds. The real pacer sleeps; tests record the pauses and return at once.
class Pacer
{
public:
    virtual ~Pacer() = default;

    // Called once before the first step of an animation.
    virtual void start() = 0;
    // Waits for `units` pause units (units >= 0).
    virtual void pause(int units) = 0;
};
