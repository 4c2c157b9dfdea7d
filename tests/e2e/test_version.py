"""The version window's link line hands the maker's address to the desktop's browser. (Opening and
closing the window: the bus window's and the window's own tests; its error message without the
maker's library: test_windows.)"""

import os
import stat
import tempfile
import time
import unittest

import harness
from harness import ERROR_TITLE, PANEL_VERSION_BUTTON, VERSION_LINK, VERSION_TITLE


def fake_browser(folder):
    """A folder with an xdg-open that only writes down the address it is given."""
    bin_dir = os.path.join(folder, "bin")
    os.makedirs(bin_dir)
    log = os.path.join(folder, "opened.txt")
    script = os.path.join(bin_dir, "xdg-open")
    with open(script, "w") as f:
        f.write(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{log}"\n')
    os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
    return bin_dir, log


def read_lines(path, count, timeout=10):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if os.path.exists(path):
            with open(path) as f:
                lines = f.read().splitlines()
            if len(lines) >= count:
                return lines
        time.sleep(0.1)
    return []


@harness.skip_unless_tools
class VersionWindowTest(unittest.TestCase):
    def test_withLibrary_linkOpensTheMakersPageEachClick(self):
        scratch = tempfile.mkdtemp(prefix="porukano-browser-")
        bin_dir, log = fake_browser(scratch)
        env = {"PATH": bin_dir + os.pathsep + os.environ.get("PATH", "")}
        with harness.Session(env=env) as s:
            s.click(s.window(harness.PANEL_TITLE), *PANEL_VERSION_BUTTON)
            version = s.window(VERSION_TITLE)
            s.click(version, *VERSION_LINK)
            s.click(version, *VERSION_LINK)
            self.assertEqual(read_lines(log, 2), ["https://www.rovanda.example/"] * 2)
            self.assertEqual(s.windows(ERROR_TITLE), [])
            s.key(version, "Escape")
            self.assertTrue(s.wait_gone(VERSION_TITLE))


if __name__ == "__main__":
    unittest.main()
