#pragma once

#include "platform/soundoutput.h"

#include <QThread>

#include <functional>
#include <memory>

class AudioPlayer;
struct PlayAnswer;
struct WaveClip;

// Plays WAVE files through Qt Multimedia on an audio thread of its own: the user-interface thread
// blocks while a door moves, and the audio backend feeds the sink from its thread's event loop.
//
// Every sound gets a new QAudioSink (a reused one stalls after a few starts) reading a private copy
// of the samples followed by 250 ms of silence (the sink reports its end before the last samples are
// heard). A new sound stops and deletes the sink still playing, then its buffer. Mode::Wait blocks
// for the clip's own length (frames / rate). Without an audio device nothing is heard and play()
// returns at once; a backend that does not start the sound within a second is treated the same
// way, and the sound it was asked for is called off: it never starts late. A sound still waiting
// to start when the next is asked for is called off too, so a stalled backend never plays an old
// request over a newer one.
//
// Whatever the backend does, shutting the output down (or destroying it) takes at most two
// seconds: an audio thread stuck in the backend is left running, with its objects, and never
// destroyed (Qt ends the process when a running thread is destroyed). If it ever gets free it ends
// and deletes its objects itself; otherwise the end of the process takes it.
class QtSoundOutput final : public SoundOutput
{
public:
    // What makes the sound, created and used on the audio thread only.
    class Backend
    {
    public:
        virtual ~Backend() = default;
        // Stops what plays and starts `clip`; false when nothing could be started.
        virtual bool start(const WaveClip &clip) = 0;
        virtual void stop() = 0;
    };
    using BackendFactory = std::function<std::unique_ptr<Backend>()>;

    // Without a factory the sound goes through Qt Multimedia; tests give their own.
    explicit QtSoundOutput(BackendFactory makeBackend = {});
    ~QtSoundOutput() override;

    void play(const QByteArray &wave, Mode mode) override;
    bool shutDown() override;

private:
    std::unique_ptr<QThread> m_thread; // null once shut down
    bool m_threadLeftRunning = false;
    AudioPlayer *m_player = nullptr; // lives on m_thread
    std::shared_ptr<PlayAnswer> m_lastAnswer; // of the last sound asked for
};
