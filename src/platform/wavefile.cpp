#include "platform/wavefile.h"

#include "core/littleendian.h"

namespace {

constexpr int MaxSampleRate = 384000;

} // namespace

std::chrono::nanoseconds WaveClip::duration() const
{
    if (sampleRate <= 0 || bytesPerFrame() <= 0) {
        return {};
    }
    return std::chrono::nanoseconds(frames() * 1000000000 / sampleRate);
}

Result<WaveClip> parseWave(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") {
        return failure(QStringLiteral("Not a RIFF/WAVE file."));
    }
    LittleEndianReader r(file);
    WaveClip clip;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = r.u32(at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > file.size()) {
                return failure(QStringLiteral("The format chunk is too short."));
            }
            const int tag = r.u16(body);
            clip.channels = r.u16(body + 2);
            clip.sampleRate = int(r.u32(body + 4));
            clip.bitsPerSample = r.u16(body + 14);
            if (tag != 1 || clip.channels < 1 || clip.channels > 2
                || (clip.bitsPerSample != 8 && clip.bitsPerSample != 16) || r.u32(body + 4) < 1
                || r.u32(body + 4) > MaxSampleRate) {
                return failure(QStringLiteral("The format is not PCM of 8 or 16 bits in one or two channels at 1 to "
                                              "384,000 samples per second."));
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                return failure(QStringLiteral("The data chunk comes before the format chunk."));
            }
            const qsizetype available = std::min(size, file.size() - body);
            clip.samples = file.mid(body, available - available % clip.bytesPerFrame());
            return clip;
        }
        // Chunks are padded to an even length.
        if (size > file.size() - body) {
            return failure(QStringLiteral("A chunk runs past the end of the file."));
        }
        at = body + size + (size & 1);
    }
    return failure(QStringLiteral("The file has no data chunk."));
}
