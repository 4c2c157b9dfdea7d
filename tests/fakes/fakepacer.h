#pragma once

#include "platform/pacer.h"

#include <algorithm>
#include <functional>
#include <vector>

// Records every pause and returns at once. Its clock moves only when a wait is for a later time,
// or when a test moves `clock` itself (to make a step's painting take time). `onPause` runs before
// each pause is recorded, so a test can change a setting in the middle of a movement.
class FakePacer final : public Pacer
{
public:
    void start() override
    {
        ++starts;
        m_deadline = clock;
    }
    void pause(int units) override
    {
        if (onPause) {
            onPause(int(pauses.size()));
        }
        pauses.push_back(units);
        m_deadline += units * Unit;
    }
    Clock::time_point deadline() const override { return m_deadline; }
    Clock::time_point now() const override { return clock; }
    void waitUntil(Clock::time_point time) override { clock = std::max(clock, time); }

    int starts = 0;
    std::vector<int> pauses;
    std::function<void(int pauseIndex)> onPause;
    Clock::time_point clock;

private:
    Clock::time_point m_deadline;
};
