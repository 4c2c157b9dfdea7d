"""The program starts with the bus window and the settings panel, and ends with the bus window."""

import os
import unittest

import harness


def window_state(session, win):
    return session._run(["xprop", "-id", str(win), "_NET_WM_STATE"], check=False)


@harness.skip_unless_tools
class StartupTest(unittest.TestCase):
    def test_bothWindowsAppear_panelAbove_closingBusEndsProgram(self):
        with harness.Session() as s:
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            self.assertEqual(s.client_size(bus), (775, 215))
            self.assertEqual(s.client_size(panel), (263, 171))

            state = window_state(s, panel)
            self.assertIn("_NET_WM_STATE_ABOVE", state)
            # A utility (tool) window: task bars leave it out.
            window_type = s._run(["xprop", "-id", str(panel), "_NET_WM_WINDOW_TYPE"], check=False)
            self.assertIn("_NET_WM_WINDOW_TYPE_UTILITY", window_type)
            self.assertNotIn("_NET_WM_STATE_ABOVE", window_state(s, bus))

            # The panel comes after the bus window and leaves it the active window; the sound
            # output's module is loaded beside the program once both are up.
            self.assertEqual(s.active_window(), bus)
            self.assertTrue(s.wait_loaded(os.path.join(s.folder, harness.SOUND_MODULE)))

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)

    def test_busPicture_showsTheRollSignFaceInItsBox(self):
        with harness.Session() as s:
            bus, _ = s.windows_apart()
            ox, oy = s.client_origin(bus)
            shot = s.screenshot("startup.png")
            x, y, w, h = harness.SIGN_BOX
            face = shot.region(ox + x, oy + y, w, h)
            yellow = [p for p in face if p[0] > 200 and p[1] > 180 and p[2] < 100]
            grey = [p for p in face if abs(p[0] - p[1]) < 12 and abs(p[1] - p[2]) < 12 and 60 < p[0] < 200]
            self.assertGreater(len(yellow), 20, "the default face's yellow arrows")
            self.assertGreater(len(grey), 300, "the default face's grey panel")
            # The bus body is drawn: the client area is not one flat colour.
            body = set(shot.region(ox + 100, oy + 20, 300, 150))
            self.assertGreater(len(body), 20)

    def test_title_followsTheProgramFileName(self):
        with harness.Session(program_name="abc") as s:
            s.window("ポルカノ\u3000-\u3000abc")


if __name__ == "__main__":
    unittest.main()
