#pragma once

#include <chrono>

// Paces the door animations. Each step adds a pause of as many units as the door's speed bar
// holds to a running deadline, counted from the start of the movement; the movement waits only
// where it has something to show, until the time that step is due. The real pacer sleeps on the
// steady clock; tests record the pauses and move a fake clock instead.
class Pacer
{
public:
    using Clock = std::chrono::steady_clock;
    // One pause unit: speed 10000 pauses 2.5 ms after each step.
    static constexpr std::chrono::nanoseconds Unit{250};

    virtual ~Pacer() = default;

    // Called once before the first step of an animation: the deadline becomes now().
    virtual void start() = 0;
    // Adds `units` pause units (units >= 0) to the deadline and returns at once.
    virtual void pause(int units) = 0;
    // The start plus every pause added since.
    virtual Clock::time_point deadline() const = 0;
    virtual Clock::time_point now() const = 0;
    // Returns once `time` has come (at once if it has passed); nothing else runs meanwhile.
    virtual void waitUntil(Clock::time_point time) = 0;
};
