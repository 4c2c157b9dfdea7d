"""The program read over AT-SPI, as a screen reader reads it, and worked from the keyboard: the
panel's tab order, the speed labels and the keypad display read their values, Qt's own dialogs
read in Japanese. Needs a private session bus and AT-SPI bus (harness.Session(accessibility=True))."""

import os
import time
import unittest

import harness

MISSING = harness.accessibility_missing()

PANEL_KEYPAD = {"1": (151 + 5 + 17, 92 + 13), "2": (151 + 38 + 17, 92 + 13)}
BAR_LEFT_ARROW = {"HScroll1": (59 + 6, 15 + 8), "HScroll2": (58 + 6, 58 + 8)}
BARE_BUS = (150, 20)
CONTROL_ROLES = {"push button", "toggle button", "check box", "radio button", "scroll bar"}
TAB_ORDER = ["0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "C", "設定", "両方", "前扉", "中扉",
             "中扉の速さ", "前扉の速さ", "バージョン情報", "方向幕フォルダー", "0"]


def walk(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child)


@harness.skip_unless_tools
@unittest.skipIf(bool(MISSING), "missing: " + ", ".join(MISSING))
class AccessTest(unittest.TestCase):
    def frame(self, name, timeout=20):
        import pyatspi
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for app in pyatspi.Registry.getDesktop(0):
                for window in app or []:
                    if window is not None and window.name == name:
                        return window
            time.sleep(0.2)
        raise TimeoutError(f"no accessible window {name!r}")

    def find(self, root, **wanted):
        for node in walk(root):
            if all(getattr(node, key) == value for key, value in wanted.items()):
                return node
        raise LookupError(f"nothing with {wanted}")

    def focused_name(self, root):
        import pyatspi
        for node in walk(root):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return node.name
        return None

    def test_tabOrder_valueLabels_andQtsDialogsInJapanese(self):
        with harness.Session(accessibility=True) as s:
            bus = s.window(harness.BUS_TITLE)
            panel = s.window(harness.PANEL_TITLE)
            s.move(panel, 900, 0)
            s.move(bus, 0, 300)
            tree = self.frame(harness.PANEL_TITLE)

            # Every control has a name to speak; the bus window's pictures are described.
            controls = [node for node in walk(tree) if node.getRoleName() in CONTROL_ROLES]
            self.assertEqual(len(controls), 21)
            self.assertEqual([node for node in controls if not node.name], [])
            bus_tree = self.frame(harness.BUS_TITLE)
            for picture in ("方向幕", "看板", "車内"):
                self.assertTrue(self.find(bus_tree, name=picture).description, picture)
            self.assertTrue(bus_tree.getChildAtIndex(0).description or bus_tree.description)

            # Tab goes round the panel in its order, starting from the keypad.
            s.activate(panel)
            names = [self.focused_name(tree)]
            for _ in TAB_ORDER[1:]:
                s.key(panel, "Tab", settle=0.2)
                names.append(self.focused_name(tree))
            self.assertEqual(names, TAB_ORDER)

            # The speed labels read the values the bars were set to by a click and a key; the
            # file keeps them.
            speeds = {}
            for bar, label, key in (("HScroll1", "前扉の速さ", "Left"), ("HScroll2", "中扉の速さ", "Left")):
                node = self.find(tree, name=label)
                start = int(node.queryValue().currentValue)
                s.click(panel, *BAR_LEFT_ARROW[bar])
                s.key(panel, key)
                speeds[bar] = str(start - 2)
                self.assertEqual(self.find(tree, description=label + "の値").name, speeds[bar])

            # The keypad display reads the digits typed.
            for digit in "12":
                s.click(panel, *PANEL_KEYPAD[digit])
            self.assertEqual(self.find(tree, description="方向幕の番号").name, "12")

            # Qt's own Open dialog in Japanese.
            s.click(bus, *BARE_BUS, button=3, settle=0.6)
            s._run(["xdotool", "key", "Down", "Down", "Down", "Return"])  # "看板の画像を設定..."
            dialog = self.frame("開く")
            buttons = {node.name for node in walk(dialog) if node.getRoleName() == "push button"}
            self.assertTrue({"開く(O)", "キャンセル"} <= buttons, buttons)
            s.key(s.window("開く"), "Escape")

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            fields = s.read_settings().decode().rstrip("\r\n").split(",")
            self.assertEqual(fields[13:15], [speeds["HScroll1"], speeds["HScroll2"]])


if __name__ == "__main__":
    unittest.main()
