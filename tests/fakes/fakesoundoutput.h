#pragma once

#include "platform/soundoutput.h"

#include <functional>
#include <vector>

// Records what would be played and returns at once; `onPlay` runs inside each play. Counts the
// calls to prepare().
class FakeSoundOutput final : public SoundOutput
{
public:
    struct Play
    {
        QByteArray wave;
        Mode mode;
    };

    void play(const QByteArray &wave, Mode mode) override
    {
        plays.push_back({wave, mode});
        if (onPlay) {
            onPlay();
        }
    }

    void prepare() override { ++preparations; }

    std::vector<Play> plays;
    std::function<void()> onPlay;
    int preparations = 0;
};
