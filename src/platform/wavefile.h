#pragma once

#include "core/result.h"

#include <QByteArray>

#include <chrono>

// The sound of an uncompressed PCM RIFF/WAVE file: its format and its sample bytes.
struct WaveClip
{
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed)
    QByteArray samples;

    int bytesPerFrame() const { return channels * bitsPerSample / 8; }
    qint64 frames() const { return samples.size() / bytesPerFrame(); }
    // How long the samples play: frames divided by the sample rate.
    std::chrono::nanoseconds duration() const;
    // The byte value of silence: the midpoint 128 for 8-bit samples, 0 for 16-bit ones.
    char silence() const { return bitsPerSample == 8 ? char(0x80) : char(0); }
};

// Reads a RIFF/WAVE file held in memory. Accepts PCM with 1 or 2 channels of 8 or 16 bits at 1 to
// 384,000 samples per second; any other content, and any file whose chunks do not fit in it, is a
// failure. A "data" chunk that claims more bytes than there are keeps the bytes there are.
Result<WaveClip> parseWave(const QByteArray &file);
