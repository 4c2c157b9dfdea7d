#!/usr/bin/env python3
"""Start-up time and peak memory of the program against two yardsticks.

The yardsticks are plain Qt Widgets programs: `barewindow`, one fixed-size window painting one
picture, and `twowindows`, the program's content and nothing else (a 775 x 215 window painting one
picture and a 263 x 171 tool window owned by it, with the panel's controls and Japanese captions).
The program run is its benchmark variant `startupprobe` (the same program with a probe that reports
its paints and ends it), copied as KT41A0001 beside the program's libraries into a folder of its
own, so that it starts as a first start, without a settings file.

All of them run in rounds, offscreen and under Xvfb, each program once a round in a shuffled
order, so that a load on the machine falls on each alike. For each run it measures, from process
start, the first paint of the main window, the moment both windows have been painted (the later of
the two first paints) and the peak resident memory; every program ends half a second after its
first paint, so what it does after that paint, such as bringing up the sound output, counts in its
memory. It prints the medians, and the ratios against the targets taken within each round (their
median, and the middle half of them in brackets: single runs here vary by a fifth either way): the
program's first paint at most 1.0 times the bare window's, both windows painted at most 1.1 times
the two-window program's, peak memory at most the bare window's plus 15 MB.

With --before BUILD, the program as built in another build folder (an earlier version) runs in the
same rounds and is printed beside, named by its folder, so that a change is measured before and
after in one run; give it more than once for several earlier versions.

    bench/startup.py [--runs N] [--build build] [--before build-before ...]
"""

import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

FIRST_PAINT_TARGET = 1.0  # times the bare window's first paint
BOTH_PAINTED_TARGET = 1.1  # times the two-window program's
MEMORY_TARGET_MB = 15.0  # over the bare window's peak


def run_once(command, env, folder):
    """(first paint ms, both windows painted ms or None, peak memory MB) of one run."""
    start = time.monotonic_ns()
    proc = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    stderr = proc.stderr.read()
    _, status, usage = os.wait4(proc.pid, 0)
    painted = None
    other = None
    for line in stderr.decode(errors="replace").splitlines():
        fields = line.split()
        if fields[:1] == ["first-paint"]:
            painted = int(fields[1])
        elif fields[:1] == ["window-paint"] and other is None:
            other = int(fields[-1])
    if painted is None:
        raise RuntimeError(f"{command[0]} reported no first paint (exit {os.waitstatus_to_exitcode(status)}): "
                           f"{stderr[-400:]!r}")
    both = None if other is None else (max(painted, other) - start) / 1e6
    return (painted - start) / 1e6, both, usage.ru_maxrss / 1024.0


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_fd, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_fd)
    display = ":" + number.strip().decode()
    for _ in range(100):
        if subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0:
            break
        time.sleep(0.1)
    return xvfb, display


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def ms(value):
    return "      -" if value is None else f"{value:7.1f}"


def quartiles(values):
    """(first quartile, median, third quartile) of the values."""
    values = sorted(values)
    if len(values) < 4:
        middle = statistics.median(values)
        return values[0], middle, values[-1]
    q1, middle, q3 = statistics.quantiles(values, n=4)
    return q1, middle, q3


def measure(label, programs, env, runs, shuffle):
    """programs: (name, command, folder). Each round runs every program once, in an order of its
    own, so that no program always follows the same one. Prints the table; True when every target
    is met."""
    results = {name: [] for name, _, _ in programs}
    first_ratios = {name: [] for name, _, _ in programs}
    both_ratios = {name: [] for name, _, _ in programs}
    for _ in range(runs):
        order = list(programs)
        shuffle(order)
        round_results = {name: run_once(command, env, folder) for name, command, folder in order}
        for name, result in round_results.items():
            results[name].append(result)
            first_ratios[name].append(result[0] / round_results["bare window"][0])
            yardstick_both = round_results["two windows"][1]
            if result[1] is not None and yardstick_both:
                both_ratios[name].append(result[1] / yardstick_both)
    load = os.getloadavg()[0]
    print(f"{label}: medians of {runs} rounds (load average now {load:.1f})")
    print(f"    {'':22s} {'first paint':>12s} {'both painted':>13s} {'peak memory':>12s}")
    medians = {}
    for name, _, _ in programs:
        first = median(r[0] for r in results[name])
        both = median(r[1] for r in results[name])
        memory = median(r[2] for r in results[name])
        missing = sum(1 for r in results[name] if r[1] is None)
        medians[name] = (first, both, memory)
        note = f"   (second window not painted in {missing} of {runs} runs)" if missing and both else ""
        print(f"    {name:22s} {ms(first)} ms {ms(both)} ms   {memory:7.1f} MB{note}")

    # The ratios are taken within each round, program against yardstick run moments apart, so a
    # machine that is slower for a while weighs on both alike; the middle half of them is shown.
    ok = True
    bare_memory = medians["bare window"][2]
    for name in medians:
        if not name.startswith("program"):
            continue
        first_q1, first_ratio, first_q3 = quartiles(first_ratios[name])
        both = quartiles(both_ratios[name]) if both_ratios[name] else None
        extra = medians[name][2] - bare_memory
        both_text = "   -" if both is None else f"{both[1]:4.2f} ({both[0]:4.2f}-{both[2]:4.2f})"
        print(f"    {name}: first paint {first_ratio:4.2f} ({first_q1:4.2f}-{first_q3:4.2f}) x bare "
              f"(target <= {FIRST_PAINT_TARGET}), both painted {both_text} x two windows "
              f"(target <= {BOTH_PAINTED_TARGET}), peak memory {extra:+5.1f} MB over bare "
              f"(target <= +{MEMORY_TARGET_MB:.0f})")
        if name == "program":
            ok &= (first_ratio <= FIRST_PAINT_TARGET and both is not None
                   and both[1] <= BOTH_PAINTED_TARGET and extra <= MEMORY_TARGET_MB)
    return ok


def program_folder(build, parent):
    """A folder holding the program's benchmark variant as KT41A0001 with the maker's library and
    the sound module beside it, as in the program's own folder."""
    folder = tempfile.mkdtemp(dir=parent)
    bin_dir = os.path.join(build, "bin")
    shutil.copy2(os.path.join(bin_dir, "startupprobe"), os.path.join(folder, "KT41A0001"))
    for name in os.listdir(bin_dir):
        if name.startswith(("libQSK3Res", "QSK3Res", "libporukano_sound")):
            shutil.copy2(os.path.join(bin_dir, name), folder)
    return folder


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=31)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--before", action="append", default=[],
                        help="a build folder of an earlier version, run alongside (may be repeated)")
    options = parser.parse_args()
    build = os.path.abspath(options.build)

    top = tempfile.mkdtemp(prefix="porukano-startup-")
    try:
        picture = os.path.join(top, "bus.png")
        subprocess.run([os.path.join(build, "tools", "svgrender"),
                        os.path.join(os.path.dirname(__file__), "..", "src", "resources", "images", "bus.svg"),
                        picture, "776", "216"], check=True)
        folder = program_folder(build, top)
        programs = [("program", [os.path.join(folder, "KT41A0001")], folder)]
        for earlier in options.before:
            before = program_folder(os.path.abspath(earlier), top)
            name = f"program ({os.path.basename(os.path.normpath(os.path.abspath(earlier)))})"
            programs.append((name, [os.path.join(before, "KT41A0001")], before))
        programs += [("bare window", [os.path.join(build, "bin", "barewindow"), picture], top),
                     ("two windows", [os.path.join(build, "bin", "twowindows"), picture], top)]

        env = dict(os.environ)
        env["PULSE_SERVER"] = "unix:/nonexistent"
        shuffle = random.Random(1).shuffle
        ok = measure("offscreen", programs, dict(env, QT_QPA_PLATFORM="offscreen"), options.runs, shuffle)

        xvfb, display = start_xvfb()
        try:
            time.sleep(0.5)
            ok &= measure("Xvfb", programs, dict(env, QT_QPA_PLATFORM="xcb", DISPLAY=display), options.runs,
                          shuffle)
        finally:
            xvfb.terminate()
            xvfb.wait(timeout=10)
        return 0 if ok else 1
    finally:
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
