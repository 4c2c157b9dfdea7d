#pragma once

#include "pacer.h"

#include <functional>
#include <vector>

// Records every pause and returns at once. `onPause` runs before each pause is recorded, so a test
// can change a setting in the middle of a movement.
class FakePacer final : public Pacer
{
public:
    void start() override { ++starts; }
    void pause(int units) override
    {
        if (onPause) {
            onPause(int(pauses.size()));
        }
        pauses.push_back(units);
    }

    int starts = 0;
    std::vector<int> pauses;
    std::function<void(int pauseIndex)> onPause;
};
