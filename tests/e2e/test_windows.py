"""Every window the program opens while the settings panel is up opens above the panel, which
stays above all other windows: the Open dialog, the folder chooser and browser, the message boxes
and the version window with its error message."""

import os
import unittest

import harness
from harness import (BROWSER_TITLE, CHOOSER_BROWSE, CHOOSER_CANCEL, CHOOSER_OK, CHOOSER_TEXT, CHOOSER_TITLE,
                     ERROR_TITLE, MESSAGE_TITLE, OPEN_TITLE, PANEL_FOLDER_BUTTON, PANEL_VERSION_BUTTON, VERSION_LINK,
                     VERSION_OK, VERSION_TITLE)

BLACK = (0, 0, 0)


@harness.skip_unless_tools
class WindowsAbovePanelTest(unittest.TestCase):
    def test_eachWindowOpensAboveThePanel_andItsCentreIsItsOwn(self):
        # (window title, how it opens from the windows open before it, the keys or the button that
        # close it: None leaves it open for the next step)
        steps = [
            (OPEN_TITLE, lambda: self.s.choose_menu_item(harness.MENU_SET_SIGNBOARD_PICTURE), ["Escape"]),
            (CHOOSER_TITLE, lambda: self.click(harness.PANEL_TITLE, PANEL_FOLDER_BUTTON), None),
            (BROWSER_TITLE, lambda: self.click(CHOOSER_TITLE, CHOOSER_BROWSE), ["Escape"]),
            (MESSAGE_TITLE, self.ok_with_missing_folder, ["Return"]),
            (CHOOSER_TITLE, lambda: None, CHOOSER_CANCEL),  # offered again after the message
            (VERSION_TITLE, lambda: self.click(harness.PANEL_TITLE, PANEL_VERSION_BUTTON), None),
            (ERROR_TITLE, lambda: self.click(VERSION_TITLE, VERSION_LINK), ["Return"]),
        ]
        # The real library on the search path must not stand in for the missing one beside the program.
        with harness.Session(with_library=False, env={"LD_LIBRARY_PATH": harness.BIN_DIR}) as s:
            self.s = s
            bus, panel = s.windows_apart()
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
