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
    virtual void prepare() { }

    // The same, with the slow part done on another thread where the output allows, so the calling
    // thread stays free meanwhile; the rest is done on the calling thread, from its event loop, when
    // that part is over. prepare() and play() asked for before then wait for it.
    virtual void prepareInBackground() { prepare(); }

    // Ends every sound and what works for them, within a bounded time; later plays are silent.
    // False when something the sound server keeps waiting could not be ended and is left running:
    // the process's exit handlers may then wait for it too, so a program about to end should end
    // without them (std::_Exit).
    virtual bool shutDown() { return true; }
};
