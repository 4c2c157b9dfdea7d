"""The roll sign end to end: the folder chooser from the panel with the real folder browser, and
stepping with the keys in the sign box, and a folder text that names no folder."""

import os
import unittest

import harness

CHOOSER_TITLE = "画像の位置"
BROWSER_TITLE = "方向幕のあるフォルダを選択してください"
MESSAGE_TITLE = "ソラミネ"

# Client coordinates (pixels) of the controls the test uses.
PANEL_FOLDER_BUTTON = (151 + 5 + 51, 146 + 9)  # "方向幕フォルダー" inside Frame1
SIGN_BOX = (467, 32, 52, 32)
CHOOSER_OK = (280 + 41, 55 + 11)
CHOOSER_CANCEL = (368 + 41, 55 + 11)
CHOOSER_BROWSE = (377 + 34, 27 + 11)

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
            self.bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            s.move(panel, 900, 0)
            s.move(self.bus, 0, 300)

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

    def test_textNamingNoFolder_showsNotFoundThenAFreshChooser_rejectedTextIsSaved(self):
        with harness.Session(files=FACES) as s:
            self.s = s
            self.bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            # A missing folder, a file, and a path through a file all name no folder.
            for text in ("missing", "faceA/a0.bmp", "faceA/a0.bmp/inner"):
                with self.subTest(text=text):
                    s.click(panel, *PANEL_FOLDER_BUTTON)
                    chooser = s.window(CHOOSER_TITLE)
                    s.key(chooser, "ctrl+a")
                    s.type(chooser, os.path.join(s.folder, text))
                    s.click(chooser, *CHOOSER_OK)
                    s.key(s.window(MESSAGE_TITLE, timeout=10), "Return")
                    # A fresh chooser offers the rejected text again: OK with it gives the message
                    # once more, Cancel ends the loop.
                    s.click(s.window(CHOOSER_TITLE, timeout=10), *CHOOSER_OK)
                    s.key(s.window(MESSAGE_TITLE, timeout=10), "Return")
                    s.click(s.window(CHOOSER_TITLE, timeout=10), *CHOOSER_CANCEL)
                    self.assertTrue(s.wait_gone(CHOOSER_TITLE, timeout=5))
                    self.assertEqual(s.windows(MESSAGE_TITLE), [])

            # The rejected text stays the setting and is what the close saves.
            s.close(self.bus)
            self.assertEqual(s.wait_exit(10), 0)
            folder = os.path.join(s.folder, "faceA/a0.bmp/inner")
            self.assertEqual(s.read_settings().decode().split(",")[4], f'"{folder}"')

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
