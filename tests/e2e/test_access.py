"""The program read over AT-SPI, as a screen reader reads it, and worked from the keyboard: the
panel's tab order, the speed labels and the keypad display read their values, Qt's own dialogs
read in Japanese. Needs a private session bus and AT-SPI bus (harness.Session(accessibility=True))."""

import time
import unittest

import harness

MISSING = harness.accessibility_missing()

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
            bus, panel = s.windows_apart()
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
            for bar, label, arrow in (("HScroll1", "前扉の速さ", harness.PANEL_FRONT_BAR_LEFT),
                                      ("HScroll2", "中扉の速さ", harness.PANEL_MIDDLE_BAR_LEFT)):
                node = self.find(tree, name=label)
                start = int(node.queryValue().currentValue)
                s.click(panel, *arrow)
                s.key(panel, "Left")
                speeds[bar] = str(start - 2)
                self.assertEqual(self.find(tree, description=label + "の値").name, speeds[bar])

            # The keypad display reads the digits typed.
            for digit in "12":
                s.click(panel, *harness.PANEL_KEYPAD[digit])
            self.assertEqual(self.find(tree, description="方向幕の番号").name, "12")

            # Qt's own Open dialog in Japanese.
            s.choose_menu_item(harness.MENU_SET_SIGNBOARD_PICTURE)
            dialog = self.frame(harness.OPEN_TITLE)
            buttons = {node.name for node in walk(dialog) if node.getRoleName() == "push button"}
            self.assertTrue({"開く(O)", "キャンセル"} <= buttons, buttons)
            s.key(s.window(harness.OPEN_TITLE), "Escape")

            s.close(bus)
            self.assertEqual(s.wait_exit(10), 0)
            fields = s.read_settings().decode().rstrip("\r\n").split(",")
            self.assertEqual(fields[13:15], [speeds["HScroll1"], speeds["HScroll2"]])


if __name__ == "__main__":
    unittest.main()
