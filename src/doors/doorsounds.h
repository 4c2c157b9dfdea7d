#pragma once

#include "core/result.h"

#include <QByteArray>

#include <functional>

class SoundOutput;

// The middle door's two sounds, played from the program's embedded WAVE resources: `PlayWave`
// plays one to its end, `PlayWaveAsync` starts one and returns while it plays on. `WaveData` holds
// the complete file of the sound loaded last. The sound output keeps its own reference to the bytes
// it plays, so replacing `WaveData` never frees or overwrites a sound that may still be playing.
//
// Without a sound output (or without an audio device behind it) nothing is heard and the calls
// return at once.
class DoorSounds
{
public:
    static constexpr int Opening = 101;
    static constexpr int Closing = 102;

    // Runs once after a background sound has started: handles the events that are already waiting.
    using EventPass = std::function<void()>;

    explicit DoorSounds(SoundOutput *output, EventPass eventPass = handleWaitingEventsExceptInput);

    // Plays sound `id` and returns when it has played to its end.
    void PlayWave(int id);
    // Starts sound `id`, runs the event pass once and returns while the sound plays on.
    void PlayWaveAsync(int id);

    const QByteArray &WaveData() const { return m_waveData; }

    // The embedded WAVE file of sound `id`, or why there is none.
    static Result<QByteArray> loadWave(int id);

    // One pass over the events already waiting, leaving user input queued: a door toggle handled
    // here would start a second movement in the middle of this one and could leave the middle door
    // shut while its toggle says open. The queued input is handled as soon as the movement ends.
    static void handleWaitingEventsExceptInput();

private:
    SoundOutput *m_output;
    EventPass m_eventPass;
    QByteArray m_waveData;
};
