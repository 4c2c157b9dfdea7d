"""The settings file in the real program: the first start's placement, a move/close/restart round
trip, the termination signals, and a file that cannot be written. (A signal during a door movement:
the bus window's own tests.)"""

import os
import signal
import subprocess
import time
import unittest

import harness

TWIPS = harness.TWIPS


@harness.skip_unless_tools
class SettingsFileTest(unittest.TestCase):
    def test_firstStart_busAtTopLeft_panelTouchingItsBottom_andTheFileHoldsTheOuterHeight(self):
        with harness.Session() as s:
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            time.sleep(0.5)
            bx, by, bw, bh = s.frame_rect(bus)
            px, py, _, _ = s.frame_rect(panel)
            self.assertEqual((bx, by), (0, 0))
            self.assertGreater(bh, 215, "the bus window has a title bar")
            self.assertEqual((px, py), (0, bh), "the panel stands directly below the bus window")

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            self.assertEqual(
                s.read_settings(),
                f'0,0,0,{bh * TWIPS},"","",0,0,"",3450,2010,#TRUE#,#TRUE#,10000,6000,0\r\n'.encode())

    def test_placesOffEveryScreen_windowsComeWhollyOntoTheScreen_andTheLineKeepsWhereTheyCame(self):
        # A monitor since unplugged on the right, one far above; then the ends of the 32-bit fields.
        lines = ['300000,0,0,-300000,"","",0,0,"",3450,2010,#TRUE#,#TRUE#,10000,6000,0',
                 '2147483647,-2147483648,-2147483648,2147483647,"","",0,0,"",3450,2010,#TRUE#,#TRUE#,10000,6000,0']
        for line in lines:
            with self.subTest(line), harness.Session(settings_line=line) as s:
                places = []
                for title in (harness.BUS_TITLE, harness.PANEL_TITLE):
                    x, y, width, height = s.frame_rect(s.window(title))
                    # Title bar and borders included: the frame is known only once the window is shown.
                    self.assertTrue(0 <= x and x + width <= s.screen[0] and 0 <= y and y + height <= s.screen[1],
                                    (title, x, y, width, height))
                    places += [x * TWIPS, y * TWIPS]
                s.close(s.window(harness.BUS_TITLE))
                self.assertEqual(s.wait_exit(10), 0)
                self.assertEqual(s.read_settings().split(b",")[:4], [str(n).encode() for n in places])

    def test_moveClose_thenRestart_windowsAreWhereTheyWere_andTheLineIsKept(self):
        # A roll-sign folder and a signboard picture from an earlier run, windows at the top left.
        # (What the windows apply from the line and collect into it is tested on the bus window.)
        files = {"方向幕/a.bmp": harness.bmp(52, 32, (255, 0, 0)), "看板.bmp": harness.bmp(60, 20, (0, 160, 0))}
        with harness.Session(files=files, start_program=False) as s:
            folder = os.path.join(s.folder, "方向幕") + "/"
            picture = os.path.join(s.folder, "看板.bmp")
            rest = f'"{folder}","",0,0,"{picture}",3450,2010,#TRUE#,#TRUE#,10000,6000,0'
            with open(s.settings_path(), "wb") as f:
                f.write(f"0,0,0,4000,{rest}\r\n".encode())
            s.launch()
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            s.move(bus, 120, 90)
            s.move(panel, 700, 420)
            bus_frame = s.frame_rect(bus)
            panel_frame = s.frame_rect(panel)
            self.assertNotEqual(bus_frame[:2], (0, 0))

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            places = [bus_frame[0] * TWIPS, bus_frame[1] * TWIPS, panel_frame[0] * TWIPS, panel_frame[1] * TWIPS]
            first_close = s.read_settings()
            self.assertEqual(first_close, f"{','.join(map(str, places))},{rest}\r\n".encode())

            s.launch()
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            time.sleep(0.5)
            self.assertEqual(s.frame_rect(bus)[:2], bus_frame[:2])
            self.assertEqual(s.frame_rect(panel)[:2], panel_frame[:2])

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            self.assertEqual(s.read_settings(), first_close)

    def test_terminationSignal_savesAndEndsLikeAClose(self):
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=sig.name), harness.Session() as s:
                s.window(harness.BUS_TITLE)
                harness.click_front_speed_arrow(s, s.window(harness.PANEL_TITLE))
                s.app.send_signal(sig)
                self.assertEqual(s.wait_exit(10), 0)
                self.assertEqual(s.settings_fields()[harness.FRONT_SPEED_FIELD], "10001")

    def test_folderNotWritable_closeShowsTheMessageAboveThePanel_endsWithFailure_oldFileUnchanged(self):
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
                panel = s.window(harness.PANEL_TITLE)
                s.close(bus)
                message = s.window(harness.MESSAGE_TITLE)
                # The panel, still up, does not cover the message.
                order = s.stacking()
                self.assertLess(order.index(panel), order.index(message))
                self.assertNotEqual(set(s.centre_under(message, panel)), {(0, 0, 0)})
                self.assertIsNone(s.wait_exit(1), "the program waits for the message to be read")
                s.key(message, "Return")
                self.assertEqual(s.wait_exit(10), 1)
            finally:
                subprocess.run(unlock)
            self.assertEqual(s.read_settings(), old)


if __name__ == "__main__":
    unittest.main()
