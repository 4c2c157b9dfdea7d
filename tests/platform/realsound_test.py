#!/usr/bin/env python3
"""Hears the door sounds through the real audio output.

Starts a private PulseAudio server with a null sink, records the sink's monitor, lets
`playdoorsounds` (the program's real audio output) play the opening sound to its end, the shutting
sound in full, then the shutting sound cut off by the opening sound, and checks the recording: the
tone's fundamental (22050 / 129 = 170.93 Hz), the lengths of the three stretches of tone, and that
the cut-off sound stopped rather than playing on under the new one.

    realsound_test.py PATH_TO_PLAYDOORSOUNDS

Exits 77 (skipped) only when no PulseAudio server can be started at all.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

RATE = 22050
PERIOD = 129
SKIP = 77
WINDOW = 220  # 10 ms
SCRIPT = ["wait:101", "sleep:500", "async:102", "sleep:3000", "async:102", "sleep:1000", "wait:101", "sleep:600"]
EXPECTED = [("opening sound", 0.8, 0.12), ("shutting sound", 2.5, 0.15), ("shutting cut off + opening", 1.8, 0.2)]


def skip(message):
    print("SKIPPED: " + message)
    sys.exit(SKIP)


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return False


def stop(process):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=3)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=3)


def tone_segments(samples):
    """Stretches of tone as (start, end) sample indices; gaps under 200 ms (underruns on a busy
    machine) are bridged: the script leaves at least 500 ms of silence between its stretches."""
    loud = []
    for start in range(0, len(samples) - WINDOW + 1, WINDOW):
        window = samples[start : start + WINDOW]
        loud.append(max(abs(s - 128) for s in window) > 20)
    segments = []
    for index, is_loud in enumerate(loud):
        if not is_loud:
            continue
        start, end = index * WINDOW, (index + 1) * WINDOW
        if segments and start - segments[-1][1] < 0.2 * RATE:
            segments[-1][1] = end
        else:
            segments.append([start, end])
    return [s for s in segments if s[1] - s[0] > 0.05 * RATE]


def fundamental(samples):
    """The tone's frequency from the autocorrelation peak, refined between neighbouring lags."""
    centred = [s - 128 for s in samples]
    n = len(centred) - 200

    def corr(lag):
        return sum(centred[i] * centred[i + lag] for i in range(n))

    lags = range(100, 161)
    values = {lag: corr(lag) for lag in range(99, 162)}
    best = max(lags, key=lambda lag: values[lag])
    a, b, c = values[best - 1], values[best], values[best + 1]
    shift = 0.5 * (a - c) / (a - 2 * b + c) if a - 2 * b + c != 0 else 0.0
    return RATE / (best + shift)


def main():
    player = sys.argv[1]
    pulseaudio = shutil.which("pulseaudio")
    parec = shutil.which("parec")
    pactl = shutil.which("pactl")
    if not (pulseaudio and parec and pactl):
        skip("pulseaudio, parec or pactl is not installed")
    helptext = subprocess.run([pulseaudio, "--help"], capture_output=True, text=True).stdout

    folder = Path(tempfile.mkdtemp(prefix="doorsound-"))
    server = recorder = None
    try:
        runtime = folder / "run"
        runtime.mkdir(mode=0o700)
        (folder / "home").mkdir()
        socket = runtime / "native"
        client_conf = folder / "client.conf"
        client_conf.write_text("autospawn = no\n")
        env = dict(os.environ)
        env.update(
            XDG_RUNTIME_DIR=str(runtime),
            HOME=str(folder / "home"),
            PULSE_RUNTIME_PATH=str(runtime / "pulse"),
            PULSE_SERVER="unix:" + str(socket),
            PULSE_CLIENTCONFIG=str(client_conf),
        )
        script = folder / "server.pa"
        script.write_text(
            f"load-module module-native-protocol-unix auth-anonymous=1 socket={socket}\n"
            f"load-module module-null-sink sink_name=doors rate={RATE}\n"
            "set-default-sink doors\n"
        )
        command = [pulseaudio, "-n", "-F", str(script), "--exit-idle-time=-1", "--daemonize=no"]
        if "--system" in helptext:
            command.append("--system=no")
        server = subprocess.Popen(
            command, env=env, stdout=subprocess.DEVNULL, stderr=open(folder / "server.log", "w")
        )

        def server_up():
            return subprocess.run([pactl, "info"], env=env, capture_output=True).returncode == 0

        if not wait_for(server_up, 10):
            skip("PulseAudio could not be started:\n" + (folder / "server.log").read_text()[-2000:])

        # The recorder goes first: its first data can take a while. A short latency keeps the null
        # sink rendering in small blocks, as a sound card would.
        recording = folder / "monitor.raw"
        recorder = subprocess.Popen(
            [parec, "-d", "doors.monitor", "--latency-msec=10", "--format=u8", f"--rate={RATE}", "--channels=1", "--raw"],
            env=env,
            stdout=open(recording, "wb"),
        )
        if not wait_for(lambda: recording.stat().st_size > RATE // 10, 10):
            raise AssertionError("the recorder delivered no data")

        played = subprocess.run([player] + SCRIPT, env=env, capture_output=True, text=True, timeout=25)
        print(played.stdout, played.stderr)
        if played.returncode != 0:
            raise AssertionError(f"playdoorsounds failed with {played.returncode}")
        time.sleep(0.5)
        stop(recorder)
        recorder = None

        samples = recording.read_bytes()
        segments = tone_segments(samples)
        print("tone stretches (s):", [round((e - s) / RATE, 3) for s, e in segments])
        if len(segments) != len(EXPECTED):
            raise AssertionError(f"expected {len(EXPECTED)} stretches of tone, heard {len(segments)}")
        for (start, end), (name, seconds, tolerance) in zip(segments, EXPECTED):
            length = (end - start) / RATE
            if abs(length - seconds) > tolerance:
                raise AssertionError(f"{name}: {length:.3f} s instead of {seconds} s")

        # A sound that was not cut off would play on under the new one and the sum would exceed
        # the tone's own peak of 75.
        peak = max(abs(s - 128) for s in samples)
        print("peak:", peak)
        if peak > 80:
            raise AssertionError(f"two sounds were heard at once (peak {peak})")

        start, end = segments[1]
        middle = samples[start + RATE // 2 : start + RATE // 2 + RATE // 4]
        frequency = fundamental(middle)
        print(f"fundamental: {frequency:.2f} Hz")
        if abs(frequency - RATE / PERIOD) > 1.0:
            raise AssertionError(f"fundamental {frequency:.2f} Hz instead of {RATE / PERIOD:.2f} Hz")
        print("PASS")
    finally:
        stop(recorder)
        stop(server)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
