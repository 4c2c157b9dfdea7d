"""The signboard and its frame on the real screen: the left button drags the box, a double-click
brings the frame back around it, a picture chosen in Qt's Open dialog sizes it. (The menu's
switches and the placements are tested on the bus window itself.)"""

import time
import unittest

import harness

GREY = (128, 128, 128)
LIGHT = (224, 224, 224)
RED = (200, 30, 30)

BOX = harness.SIGNBOARD_BOX


def frame_around(x, y, w, h):
    """The frame's three rectangles (client pixels) after a full placement around a box."""
    return [(x - 5, y, 5, h + 1), (x + w, y, 5, h + 1), (x - 5, y + h, w + 10, 4)]


def border_at(shot, x, y):
    """True where the box's sunken border stands with its top-left corner at screen (x, y)."""
    return shot.pixel(x, y + 10) == (160, 160, 160) and shot.pixel(x + 1, y + 10) == (105, 105, 105)


@harness.skip_unless_tools
class SignboardTest(unittest.TestCase):
    def setUp(self):
        self.s = harness.Session(files={"pictures/board.bmp": harness.bmp(120, 40, RED)}).__enter__()
        self.addCleanup(self.s.__exit__, None, None, None)
        self.bus, _ = self.s.windows_apart()
        self.origin = self.s.client_origin(self.bus)
        # A double-click places the frame around the box, whatever the start-up left.
        self.s.double_click(self.bus, BOX[0] + 40, BOX[1] + 15)

    def assert_frame(self, shot, rects):
        ox, oy = self.origin
        for x, y, w, h in rects:
            # Outline on the left and right edge columns, fill inside, away from where shapes overlap.
            for dy in range(1, h - 1):
                self.assertEqual(shot.pixel(ox + x, oy + y + dy), GREY, (x, y, w, h, dy))
                self.assertEqual(shot.pixel(ox + x + w - 1, oy + y + dy), GREY, (x, y, w, h, dy))
            self.assertEqual(shot.pixel(ox + x + 2, oy + y), GREY, (x, y, w, h))
            self.assertEqual(shot.pixel(ox + x + 2, oy + y + h - 1), GREY, (x, y, w, h))
            inside = shot.region(ox + x + 1, oy + y + 1, w - 2, min(h, 10) - 2)
            self.assertEqual(set(inside), {LIGHT}, (x, y, w, h))

    def test_leftDragMovesTheBoxNotTheFrame_doubleClickBringsTheFrame(self):
        ox, oy = self.origin
        grab = (BOX[0] + 20, BOX[1] + 10)
        # To the bare bus between the middle door and the decoration, where nothing covers the frame.
        self.s.drag(self.bus, grab[0], grab[1], grab[0] + 260, grab[1] + 10)
        moved = (BOX[0] + 260, BOX[1] + 10, BOX[2], BOX[3])
        shot = self.s.screenshot("dragged.png")
        self.assertTrue(border_at(shot, ox + moved[0], oy + moved[1]))
        self.assertFalse(border_at(shot, ox + BOX[0], oy + BOX[1]))
        self.assert_frame(shot, frame_around(*BOX))

        self.s.double_click(self.bus, moved[0] + 40, moved[1] + 15)
        shot = self.s.screenshot("placed.png")
        self.assertTrue(border_at(shot, ox + moved[0], oy + moved[1]))
        self.assert_frame(shot, frame_around(*moved))
        # The bus is painted again where the frame stood.
        for x, y, w, h in frame_around(*BOX):
            self.assertNotIn(LIGHT, shot.region(ox + x + 1, oy + y + 1, w - 2, min(h, 10) - 2))

    def test_pictureChosenInTheOpenDialog_sizesTheBoxAndPlacesTheFrame(self):
        s, (ox, oy) = self.s, self.origin
        s.choose_menu_item(harness.MENU_SET_SIGNBOARD_PICTURE, at=(BOX[0] + 47, BOX[1] + 15))
        dialog = s.window(harness.OPEN_TITLE)
        s.type(dialog, s.folder + "/pictures/board.bmp")
        s.key(dialog, "Return")
        self.assertTrue(s.wait_gone(harness.OPEN_TITLE))
        time.sleep(0.5)

        shot = s.screenshot("picture.png")
        box = (BOX[0], BOX[1], 124, 44)
        self.assertEqual(set(shot.region(ox + box[0] + 2, oy + box[1] + 2, 120, 40)), {RED})
        self.assertTrue(border_at(shot, ox + box[0], oy + box[1]))
        # The frame around the larger box; the middle door's leaves cover the right post and
        # the bar's right end.
        left, _, bar = frame_around(*box)
        self.assertEqual(set(shot.region(ox + left[0] + 1, oy + left[1] + 1, 3, left[3] - 2)), {LIGHT})
        self.assertEqual(set(shot.region(ox + bar[0] + 1, oy + bar[1] + 1, 100, 2)), {LIGHT})


if __name__ == "__main__":
    unittest.main()
