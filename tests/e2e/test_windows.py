"""Every window the program opens while the settings panel is up opens above the panel, which
stays above all other windows: the Open dialog, the folder chooser and browser, the message boxes
and the version window with its error message."""

import os
import unittest

import harness

BLACK = (0, 0, 0)
BARE_BUS = (150, 20)
PANEL_FOLDER_BUTTON = (207, 155)
PANEL_VERSION_BUTTON = (98, 155)
CHOOSER_OK = (321, 66)
CHOOSER_CANCEL = (409, 66)
CHOOSER_BROWSE = (411, 38)
CHOOSER_TEXT = (200, 37)
LINK_LINE = (126, 206)
VERSION_OK = (279, 207)

OPEN_TITLE = "開く"
CHOOSER_TITLE = "画像の位置"
BROWSER_TITLE = "方向幕のあるフォルダを選択してください"
MESSAGE_TITLE = "ソラミネ"
VERSION_TITLE = "ポルカノのバージョン情報"
ERROR_TITLE = "Zozevezu.dllのエラー"


@harness.skip_unless_tools
class WindowsAbovePanelTest(unittest.TestCase):
    def test_eachWindowOpensAboveThePanel_andItsCentreIsItsOwn(self):
        # (window title, how it opens from the windows open before it, the keys or the button that
        # close it: None leaves it open for the next step)
        steps = [
            (OPEN_TITLE, lambda: self.menu_item(3), ["Escape"]),
            (CHOOSER_TITLE, lambda: self.click(harness.PANEL_TITLE, PANEL_FOLDER_BUTTON), None),
            (BROWSER_TITLE, lambda: self.click(CHOOSER_TITLE, CHOOSER_BROWSE), ["Escape"]),
            (MESSAGE_TITLE, self.ok_with_missing_folder, ["Return"]),
            (CHOOSER_TITLE, lambda: None, CHOOSER_CANCEL),  # offered again after the message
            (VERSION_TITLE, lambda: self.click(harness.PANEL_TITLE, PANEL_VERSION_BUTTON), None),
            (ERROR_TITLE, lambda: self.click(VERSION_TITLE, LINK_LINE), ["Return"]),
        ]
        # The real library on the search path must not stand in for the missing one beside the program.
        with harness.Session(with_library=False, env={"LD_LIBRARY_PATH": harness.BIN_DIR}) as s:
            self.s = s
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            s.move(bus, 0, 300)
            for title, open_it, close_it in steps:
                with self.subTest(title):
                    s.move(panel, 900, 0)
                    open_it()
                    win = s.window(title)
                    order = s.stacking()
                    self.assertLess(order.index(panel), order.index(win))
                    if title == ERROR_TITLE:
                        self.assertLess(order.index(s.window(VERSION_TITLE)), order.index(win))
                    self.assertNotEqual(set(s.centre_under(win, panel)), {BLACK})
                    if title == VERSION_TITLE:
                        # Modal, above the panel by its owner (transient: task bars leave it out),
                        # not on top of other programs' windows.
                        self.assertEqual(s.client_size(win), (333, 223))
                        props = s._run(["xprop", "-id", str(win)], check=False)
                        self.assertIn("_NET_WM_STATE_MODAL", props)
                        self.assertIn("WM_TRANSIENT_FOR", props)
                        self.assertNotIn("_NET_WM_STATE_ABOVE", props)
                if isinstance(close_it, list):
                    s.key(win, *close_it)
                elif close_it:
                    s.click(win, *close_it)
                if close_it:
                    self.assertTrue(s.wait_gone(title), title)
            # The version window stays after its error message; its OK closes it.
            s.click(s.window(VERSION_TITLE), *VERSION_OK)
            self.assertTrue(s.wait_gone(VERSION_TITLE))
            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)

    def menu_item(self, position):
        self.s.click(self.s.window(harness.BUS_TITLE), *BARE_BUS, button=3, settle=0.6)
        self.s._run(["xdotool", "key", *["Down"] * position, "Return"])

    def click(self, title, point):
        self.s.click(self.s.window(title), *point)

    def ok_with_missing_folder(self):
        chooser = self.s.window(CHOOSER_TITLE)
        self.s.click(chooser, *CHOOSER_TEXT)  # the browse button has kept the focus
        self.s.key(chooser, "ctrl+a")
        self.s.type(chooser, os.path.join(self.s.folder, "missing"))
        self.s.click(chooser, *CHOOSER_OK)


if __name__ == "__main__":
    unittest.main()
