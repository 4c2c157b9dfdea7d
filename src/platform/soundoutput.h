#pragma once

#include <QByteArray>

// Plays complete RIFF/WAVE files held in memory. Starting a sound cuts off one still playing.
// The implementation keeps its own (shared) copy of the bytes for as long as it may read them.
class SoundOutput
{
public:
    enum class Mode { Wait, Background };

    virtual ~SoundOutput() = default;

    // Mode::Wait returns when the clip has played to its end (at once when there is no audio
    // output); Mode::Background returns at once while the clip plays on.
    virtual void play(const QByteArray &wave, Mode mode) = 0;

    // Brings the output up ahead of its first sound, where that takes a while; play() does it
    // itself otherwise.
    virtual void prepare() {}
};
