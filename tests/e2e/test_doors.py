"""The doors open and shut from the settings panel, step by step, and hold all input while they move."""

import time
import unittest

import harness

# Client-area pixels well inside each leaf while it is shut and in the open doorway once it is open.
FRONT = (40, 60, 50, 120)
MIDDLE_LEFT = (350, 60, 35, 120)
MIDDLE_RIGHT = (397, 60, 35, 120)
# The whole doorways, the leaves' edges included, shut and open.
FRONT_DOORWAY = (20, 38, 90, 165)
MIDDLE_DOORWAY = (330, 38, 122, 165)
# The toggles' centres in the panel's client area.
CHECK1 = (31, 30)
CHECK2 = (30, 75)


class DoorSession:
    def __init__(self, session):
        self.s = session
        self.bus = session.window(harness.BUS_TITLE)
        self.panel = session.window(harness.PANEL_TITLE)
        session.move(self.panel, 900, 0)
        session.move(self.bus, 0, 300)
        self.origin = session.client_origin(self.bus)

    def region(self, shot, area):
        x, y, w, h = area
        return shot.region(self.origin[0] + x, self.origin[1] + y, w, h)

    def settled(self, timeout=30):
        """A screenshot once the bus has stopped changing (two in a row alike)."""
        deadline = time.monotonic() + timeout
        previous = self.s.screenshot()
        while time.monotonic() < deadline:
            time.sleep(0.4)
            shot = self.s.screenshot()
            if all(self.region(shot, a) == self.region(previous, a) for a in (FRONT_DOORWAY, MIDDLE_DOORWAY)):
                return shot
            previous = shot
        raise TimeoutError("the doors kept moving")

    def toggle_look(self, shot):
        """The middle-door toggle as the screen shows it (pressed while checked)."""
        x, y = self.s.client_origin(self.panel)
        return shot.region(x + CHECK2[0] - 20, y + CHECK2[1] - 14, 40, 28)

    def toggle(self, point, settle=0.05):
        # Clicked without the harness's pause: the program may be busy with a door.
        self.s.click(self.panel, *point, settle=settle)


def changed_share(a, b):
    return sum(1 for p, q in zip(a, b) if p != q) / len(a)


@harness.skip_unless_tools
class DoorsTest(unittest.TestCase):
    def test_eachToggle_opensItsDoorwayThenShutsIt(self):
        with harness.Session() as s:
            d = DoorSession(s)
            shut = d.settled()

            d.toggle(CHECK1)
            front_open = d.settled()
            s.screenshot("front_open.png")
            self.assertGreater(changed_share(d.region(front_open, FRONT), d.region(shut, FRONT)), 0.5)
            self.assertEqual(d.region(front_open, MIDDLE_LEFT), d.region(shut, MIDDLE_LEFT))

            d.toggle(CHECK1)
            self.assertEqual(d.region(d.settled(), FRONT), d.region(shut, FRONT))

            d.toggle(CHECK2)
            middle_open = d.settled()
            s.screenshot("middle_open.png")
            for area in (MIDDLE_LEFT, MIDDLE_RIGHT):
                self.assertGreater(changed_share(d.region(middle_open, area), d.region(shut, area)), 0.5)
            self.assertEqual(d.region(middle_open, FRONT), d.region(shut, FRONT))

            d.toggle(CHECK2)
            back = d.settled()
            for area in (FRONT, MIDDLE_LEFT, MIDDLE_RIGHT):
                self.assertEqual(d.region(back, area), d.region(shut, area))

    def test_clicksDuringAMovement_takeEffectAfterIt(self):
        with harness.Session() as s:
            d = DoorSession(s)
            shut = d.settled()

            # The front door opens (a couple of seconds at its speed); the middle toggle clicked
            # meanwhile does nothing until the front door has stopped.
            d.toggle(CHECK1, settle=0.3)
            d.toggle(CHECK2, settle=0.1)
            during = s.screenshot()
            self.assertEqual(d.region(during, MIDDLE_LEFT), d.region(shut, MIDDLE_LEFT))
            both_open = d.settled()
            # Half-way the front leaf was already narrower: the steps reached the screen while the
            # movement held the program.
            self.assertNotEqual(d.region(during, FRONT), d.region(shut, FRONT))
            self.assertNotEqual(d.region(during, FRONT), d.region(both_open, FRONT))
            self.assertGreater(changed_share(d.region(both_open, FRONT), d.region(shut, FRONT)), 0.5)
            self.assertGreater(changed_share(d.region(both_open, MIDDLE_LEFT), d.region(shut, MIDDLE_LEFT)), 0.5)

            # The front door shuts; two clicks on the middle toggle wait behind it. The first shuts the
            # middle door; its closing sound's one pass over waiting events must leave the second
            # queued (handled there, it would reopen the door half-way through and leave it shut with
            # its toggle saying open). The second then opens the middle door again, with no further
            # event from the user.
            toggle_open = d.toggle_look(both_open)
            d.toggle(CHECK1, settle=0.3)
            d.toggle(CHECK2, settle=0.6)
            d.toggle(CHECK2, settle=0.05)
            final = d.settled()
            self.assertEqual(d.region(final, FRONT), d.region(shut, FRONT))
            self.assertEqual(d.region(final, MIDDLE_LEFT), d.region(both_open, MIDDLE_LEFT))
            self.assertEqual(d.region(final, MIDDLE_RIGHT), d.region(both_open, MIDDLE_RIGHT))
            self.assertEqual(d.toggle_look(final), toggle_open)
            self.assertNotEqual(d.toggle_look(shut), toggle_open)

    def test_frontDoor_slowOrAtFullSpeed_endsOnTheSameOpenPicture(self):
        opened = []
        for speed in (20000, 1):
            line = f'1500,4500,13500,0,"","",0,0,"",3450,2010,#FALSE#,#FALSE#,{speed},6000,0'
            with harness.Session(settings_line=line) as s:
                d = DoorSession(s)
                d.settled()
                d.toggle(CHECK1)
                opened.append(d.region(d.settled(), FRONT_DOORWAY))
        # The last picture of a movement shows the open width exactly, however few pictures it had.
        self.assertEqual(opened[0], opened[1])


if __name__ == "__main__":
    unittest.main()
