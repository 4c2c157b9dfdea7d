#!/usr/bin/env python3
"""The real audio output ends within seconds with a sound server that never answers.

A socket stands in for the PulseAudio server: it takes every connection and never says a word, so
libpulse and Qt Multimedia wait on it (half a minute at a time). `playdoorsounds` (the program's
own way to its audio output) plays the opening sound, waited for, and the shutting sound in the
background, then ends as the program does: it must be gone within a few seconds.

    stalledserver_test.py PATH_TO_PLAYDOORSOUNDS
"""

import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

LIMIT = 15.0  # seconds: about 3 when all is well; libpulse alone waits 30 s before it gives up


def main():
    with tempfile.TemporaryDirectory(prefix="porukano-stalled-") as folder:
        path = os.path.join(folder, "native")
        server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        server.bind(path)
        server.listen(8)
        taken = []

        def take():
            while True:
                try:
                    taken.append(server.accept()[0])
                except OSError:
                    return

        threading.Thread(target=take, daemon=True).start()
        env = dict(os.environ, PULSE_SERVER="unix:" + path)
        env.pop("QT_QPA_PLATFORM", None)
        start = time.monotonic()
        player = subprocess.Popen([sys.argv[1], "wait:101", "async:102"], env=env, stdout=subprocess.PIPE,
                                  stderr=subprocess.STDOUT, text=True)
        try:
            output, _ = player.communicate(timeout=LIMIT)
        except subprocess.TimeoutExpired:
            player.kill()
            output, _ = player.communicate()
            print(output)
            print(f"FAILED: still running after {LIMIT} s")
            return 1
        finally:
            server.close()
            for connection in taken:
                connection.close()
        took = time.monotonic() - start
        print(output)
        if player.returncode != 0 or "end" not in output:
            print(f"FAILED: exit code {player.returncode}")
            return 1
        if not taken:
            print("FAILED: the output never tried the sound server")
            return 1
        print(f"ended after {took:.1f} s")
        return 0


if __name__ == "__main__":
    sys.exit(main())
