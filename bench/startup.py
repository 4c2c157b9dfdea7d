#!/usr/bin/env python3
"""Start-up time and peak memory of the program against a bare Qt window.

Runs the program and a bare Qt Widgets window (one fixed-size window painting one picture)
alternately, offscreen and under Xvfb, and measures for each run the time from process
start to the first paint of the main window and the peak resident memory, with each program ending
half a second after that paint (so what the program does after it, such as bringing up the
settings panel and the sound output, counts in its memory). Prints the medians and the ratios
against the targets: start-up at most 1.25 times the bare window's, peak memory at most the bare
window's plus 15 MB; and, for the program, when its settings panel was painted. The program run is
its benchmark variant `startupprobe` (the same program with a probe that reports its paints and ends
it), copied as KT41A0001 beside the program's libraries.

    bench/startup.py [--runs N] [--build build]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(program, args, env, folder):
    start = time.monotonic_ns()
    proc = subprocess.Popen([program, *args], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    stderr = proc.stderr.read()
    _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = os.waitstatus_to_exitcode(status)
    painted = None
    panel = None
    for line in stderr.decode(errors="replace").splitlines():
        if line.startswith("first-paint "):
            painted = int(line.split()[1])
        elif line.startswith("window-paint frmSet "):
            panel = int(line.split()[2])
    if painted is None:
        raise RuntimeError(f"{program} reported no first paint (exit {proc.returncode}): {stderr[-400:]!r}")
    return (painted - start) / 1e6, usage.ru_maxrss / 1024.0, None if panel is None else (panel - start) / 1e6


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


def measure(label, program_cmd, bare_cmd, env, runs, folder):
    results = {"program": [], "bare": []}
    for _ in range(runs):
        for name, (program, args) in (("program", program_cmd), ("bare", bare_cmd)):
            results[name].append(run_once(program, args, env, folder))
    prog_ms = statistics.median(r[0] for r in results["program"])
    bare_ms = statistics.median(r[0] for r in results["bare"])
    prog_mb = statistics.median(r[1] for r in results["program"])
    bare_mb = statistics.median(r[1] for r in results["bare"])
    print(f"{label}: first paint  program {prog_ms:7.1f} ms   bare {bare_ms:7.1f} ms   "
          f"ratio {prog_ms / bare_ms:4.2f} (target <= 1.25)")
    print(f"{label}: peak memory  program {prog_mb:7.1f} MB   bare {bare_mb:7.1f} MB   "
          f"difference {prog_mb - bare_mb:+5.1f} MB (target <= +15)")
    panel = [r[2] for r in results["program"] if r[2] is not None]
    if panel:
        print(f"{label}: settings panel painted at {statistics.median(panel):7.1f} ms ({len(panel)} of {runs} runs)")
    return prog_ms / bare_ms <= 1.25 and prog_mb - bare_mb <= 15


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    options = parser.parse_args()
    build = os.path.abspath(options.build)

    folder = tempfile.mkdtemp(prefix="porukano-startup-")
    try:
        program = os.path.join(folder, "KT41A0001")
        shutil.copy2(os.path.join(build, "bin", "startupprobe"), program)
        for name in os.listdir(os.path.join(build, "bin")):
            # The maker's library and the sound module go beside the program, as in its folder.
            if name.startswith(("libQSK3Res", "QSK3Res", "libporukano_sound")):
                shutil.copy2(os.path.join(build, "bin", name), folder)
        picture = os.path.join(folder, "bus.png")
        subprocess.run([os.path.join(build, "tools", "svgrender"),
                        os.path.join(os.path.dirname(__file__), "..", "src", "resources", "images", "bus.svg"),
                        picture, "776", "216"], check=True)
        bare = os.path.join(build, "bin", "barewindow")

        env = dict(os.environ)
        env["PULSE_SERVER"] = "unix:/nonexistent"
        ok = True

        offscreen = dict(env, QT_QPA_PLATFORM="offscreen")
        ok &= measure("offscreen", (program, []), (bare, [picture]), offscreen, options.runs, folder)

        xvfb, display = start_xvfb()
        try:
            time.sleep(0.5)
            x11 = dict(env, QT_QPA_PLATFORM="xcb", DISPLAY=display)
            ok &= measure("Xvfb     ", (program, []), (bare, [picture]), x11, options.runs, folder)
        finally:
            xvfb.terminate()
            xvfb.wait(timeout=10)
        return 0 if ok else 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
