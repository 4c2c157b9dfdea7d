#!/usr/bin/env python3
"""Writes the two door sounds of the middle door as plain 8-bit mono RIFF/WAVE files.

    tools/doorsounds.py OUTPUT_FOLDER      (writes 101.wav and 102.wav)

Both clips hold the same steady buzzer tone: one period of 129 samples at 22,050 samples per
second (170.93 Hz), built from the odd and even harmonics below the Nyquist frequency with the
falling amplitudes of a pulse wave, so it sounds like a door buzzer rather than a pure sine. The
waveform is scaled so that its largest excursion from the 8-bit midpoint 128 is exactly 75. The
opening sound (101) is the first 0.8 s of the closing sound (102), which lasts 2.5 s.
"""

import math
import struct
import sys
from pathlib import Path

RATE = 22050
PERIOD = 129
PEAK = 75
MIDPOINT = 128
OPENING_SAMPLES = 17640  # 0.8 s
CLOSING_SAMPLES = 55125  # 2.5 s


def one_period():
    # A pulse wave with a 30 % duty cycle, band-limited to the harmonics below Nyquist: rich in
    # harmonics like a buzzer, without the aliasing of a naive square wave.
    duty = 0.3
    harmonics = range(1, PERIOD // 2 + 1)
    raw = []
    for n in range(PERIOD):
        phase = 2 * math.pi * n / PERIOD
        value = 0.0
        for k in harmonics:
            # Lanczos sigma factors tame the ringing next to the pulse edges.
            sigma = math.sin(math.pi * k / (len(harmonics) + 1)) / (math.pi * k / (len(harmonics) + 1))
            amplitude = sigma * math.sin(math.pi * k * duty) / k
            value += amplitude * math.cos(k * (phase - math.pi * duty))
        raw.append(value)
    mean = sum(raw) / len(raw)
    centred = [v - mean for v in raw]
    scale = PEAK / max(abs(v) for v in centred)
    samples = [MIDPOINT + round(v * scale) for v in centred]
    assert max(abs(s - MIDPOINT) for s in samples) == PEAK
    return bytes(samples)


def wave_file(samples):
    # "RIFF", size, "WAVE", a 16-byte "fmt " chunk, the "data" chunk, and nothing else (no pad
    # byte after an odd-sized data chunk).
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    period = one_period()
    closing = (period * (CLOSING_SAMPLES // PERIOD + 1))[:CLOSING_SAMPLES]
    opening = closing[:OPENING_SAMPLES]
    (folder / "101.wav").write_bytes(wave_file(opening))
    (folder / "102.wav").write_bytes(wave_file(closing))


if __name__ == "__main__":
    main()
