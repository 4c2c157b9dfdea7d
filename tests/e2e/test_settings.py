"""The settings file in the real program: first start placement, and a move/change/close/restart round trip."""

import os
import re
import subprocess
import time
import unittest

import harness

TWIPS = 15


def client_rect(session, win):
    """(x, y, width, height) of a window's client area on the screen, from the X server itself."""
    out = session._run(["xwininfo", "-id", str(win)])

    def value(label):
        return int(re.search(label + r":\s+(-?\d+)", out).group(1))

    return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))


def frame_rect(session, win):
    """(x, y, width, height) of a window's outer frame, title bar and borders included."""
    x, y, width, height = client_rect(session, win)
    left, right, top, bottom = session.frame_extents(win)
    return (x - left, y - top, width + left + right, height + top + bottom)


def click_client(session, win, x, y):
    cx, cy, _, _ = client_rect(session, win)
    session._run(["xdotool", "mousemove", "--sync", str(cx + x), str(cy + y), "click", "1"])
    time.sleep(0.2)


def settings_fields(session):
    line = session.read_settings()
    assert line.endswith(b"\r\n"), line
    return line[:-2].decode("utf-8").split(",")


@harness.skip_unless_tools
class SettingsFileTest(unittest.TestCase):
    def test_firstStart_busAtTopLeft_panelTouchingItsBottom_andTheFileHoldsTheOuterHeight(self):
        with harness.Session() as s:
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            time.sleep(0.5)
            bx, by, bw, bh = frame_rect(s, bus)
            px, py, _, _ = frame_rect(s, panel)
            self.assertEqual((bx, by), (0, 0))
            self.assertGreater(bh, 215, "the bus window has a title bar")
            self.assertEqual((px, py), (0, bh), "the panel stands directly below the bus window")

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            self.assertEqual(
                s.read_settings(),
                f'0,0,0,{bh * TWIPS},"","",0,0,"",3450,2010,#TRUE#,#TRUE#,10000,6000,0\r\n'.encode())

    def test_moveChangeClose_thenRestart_everythingIsWhereItWas(self):
        with harness.Session() as s:
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            s.move(bus, 120, 90)
            s.move(panel, 700, 420)
            bus_frame = frame_rect(s, bus)
            panel_frame = frame_rect(s, panel)
            self.assertNotEqual(bus_frame[:2], (0, 0))

            # Three clicks on the front-door speed bar's right arrow, and the right leaf only.
            _, _, panel_width, _ = client_rect(s, panel)
            bar_right = (855 + 30 + 1260) // TWIPS
            bar_middle = (195 + 30 + 120) // TWIPS
            for _ in range(3):
                click_client(s, panel, bar_right - 6, bar_middle)
            option_right = ((90 + 1470) // TWIPS + 8, (1440 + 165 + 135) // TWIPS)
            click_client(s, panel, *option_right)

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            fields = settings_fields(s)
            self.assertEqual([int(v) for v in fields[0:4]],
                             [bus_frame[0] * TWIPS, bus_frame[1] * TWIPS, panel_frame[0] * TWIPS,
                              panel_frame[1] * TWIPS])
            self.assertEqual(fields[13:16], ["10003", "6000", "2"])
            first_close = s.read_settings()

            s.launch()
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            time.sleep(0.5)
            self.assertEqual(frame_rect(s, bus)[:2], bus_frame[:2])
            self.assertEqual(frame_rect(s, panel)[:2], panel_frame[:2])
            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            self.assertEqual(s.read_settings(), first_close)

    def test_folderNotWritable_closeShowsTheMessage_endsWithFailure_oldFileUnchanged(self):
        old_line = '1500,1500,0,4500,"","x",5,7,"",3450,2010,#TRUE#,#FALSE#,300,400,1'
        with harness.Session(settings_line=old_line) as s:
            bus = s.window(harness.BUS_TITLE)
            old = s.read_settings()
            # Root may write into a folder without write permission; an immutable folder stops it too.
            if os.geteuid() == 0:
                lock, unlock = ["chattr", "+i", s.folder], ["chattr", "-i", s.folder]
            else:
                lock, unlock = ["chmod", "555", s.folder], ["chmod", "755", s.folder]
            if subprocess.run(lock, stderr=subprocess.DEVNULL).returncode != 0:
                self.skipTest("cannot make the program's folder read-only here")
            try:
                s.close(bus)
                message = s.window("ソラミネ")
                s.screenshot("save-failed.png")
                self.assertIsNone(s.wait_exit(1), "the program waits for the message to be read")
                s.key(message, "Return")
                self.assertEqual(s.wait_exit(10), 1)
            finally:
                subprocess.run(unlock)
            self.assertEqual(s.read_settings(), old)


if __name__ == "__main__":
    unittest.main()
