#pragma once

#include "soundoutput.h"

#include <QThread>

class AudioPlayer;

// Plays WAVE files through Qt Multimedia on an audio thread of its own: the user-interface thread
// blocks while a door moves, and the audio backend feeds the sink from its thread's event loop.
//
// Every sound gets a new QAudioSink (a reused one stalls after a few starts) reading a private copy
// of the samples followed by 250 ms of silence (the sink reports its end before the last samples are
// heard). A new sound stops and deletes the sink still playing, then its buffer. Mode::Wait blocks
// for the clip's own length (frames / rate). Without an audio device nothing is heard and play()
// returns at once; a backend that does not answer within a second is treated the same way.
class QtSoundOutput final : public SoundOutput
{
public:
    QtSoundOutput();
    ~QtSoundOutput() override;

    void play(const QByteArray &wave, Mode mode) override;

private:
    QThread m_thread;
    AudioPlayer *m_player = nullptr; // lives on m_thread
};
