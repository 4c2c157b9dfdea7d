"""The roll sign end to end: the folder chooser from the panel with the real folder browser, and
stepping with the keys in the sign box. (A folder text that names no folder, and the chooser
offered again: the bus window's own tests.)"""

import os
import unittest

import harness
from harness import (BROWSER_TITLE, CHOOSER_BROWSE, CHOOSER_OK, CHOOSER_TITLE, MESSAGE_TITLE, PANEL_FOLDER_BUTTON,
                     SIGN_BOX)

RED, GREEN, BLUE = (220, 20, 20), (20, 200, 20), (20, 20, 220)
YELLOW, MAGENTA, CYAN = (230, 220, 20), (210, 20, 210), (20, 210, 210)

FACES = {
    "faceA/a0.bmp": harness.bmp(52, 32, RED),
    "faceA/a1.BMP": harness.bmp(52, 32, GREEN),
    "faceA/a2.bmp": harness.bmp(52, 32, BLUE),
    "faceA/notes.txt": b"not a face",
    "faceA2/b0.bmp": harness.bmp(52, 32, YELLOW),
    "faceA2/b1.bmp": harness.bmp(52, 32, MAGENTA),
    "faceA2/b2.bmp": harness.bmp(52, 32, CYAN),
}


def close_to(pixel, colour, tolerance=30):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


@harness.skip_unless_tools
class RollSignTest(unittest.TestCase):
    def test_browsedFolderSwitchesTheList_keysStep_editedTextSwitchesAgain(self):
        with harness.Session(files=FACES) as s:
            self.s = s
            self.bus, panel = s.windows_apart()

            s.click(panel, *PANEL_FOLDER_BUTTON)
            chooser = s.window(CHOOSER_TITLE)
            s.click(panel, *PANEL_FOLDER_BUTTON)
            self.assertEqual(len(s.windows(CHOOSER_TITLE)), 1)
            s.click(chooser, *CHOOSER_BROWSE)
            browser = s.window(BROWSER_TITLE, timeout=10)
            s.key(browser, "ctrl+a")
            s.type(browser, os.path.join(s.folder, "faceA2"))
            s.key(browser, "Return")
            self.assertTrue(s.wait_gone(BROWSER_TITLE, timeout=5))
            self.press_ok(chooser)
            self.press_in_sign_box("Down")
            self.assertTrue(close_to(self.sign_colour("down1.png"), MAGENTA), "the second face of faceA2")

            # The setting gained its separator from the key; the chooser shows it. Taking the last
            # two characters away names faceA, and the position steps on into that list.
            s.click(panel, *PANEL_FOLDER_BUTTON)
            chooser = s.window(CHOOSER_TITLE)
            s.key(chooser, "End", "BackSpace", "BackSpace")
            self.press_ok(chooser)
            self.assertTrue(close_to(self.sign_colour("switched.png"), MAGENTA), "the face stays until a key")
            self.press_in_sign_box("Down")
            self.assertTrue(close_to(self.sign_colour("down2.png"), BLUE), "the third face of faceA")
            self.press_in_sign_box("Up")
            self.assertTrue(close_to(self.sign_colour("up.png"), GREEN), "the second face of faceA")

    def press_ok(self, chooser):
        self.s.click(chooser, *CHOOSER_OK)
        self.assertTrue(self.s.wait_gone(CHOOSER_TITLE, timeout=5))
        self.assertEqual(self.s.windows(MESSAGE_TITLE), [])

    def sign_colour(self, name):
        ox, oy = self.s.client_origin(self.bus)
        x, y, w, h = SIGN_BOX
        return self.s.screenshot(name).pixel(ox + x + w // 2, oy + y + h // 2)

    def press_in_sign_box(self, key):
        x, y, w, h = SIGN_BOX
        self.s.click(self.bus, x + w // 2, y + h // 2)
        self.s.key(self.bus, key, settle=0.5)


if __name__ == "__main__":
    unittest.main()
