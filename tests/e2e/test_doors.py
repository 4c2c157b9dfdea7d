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
CHECK1 = harness.PANEL_CHECK1
CHECK2 = harness.PANEL_CHECK2


class DoorSession:
    def __init__(self, session):
        self.s = session
        self.bus, self.panel = session.windows_apart()
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

    def toggle(self, point, settle=0.05):
        # Clicked without the harness's pause: the program may be busy with a door.
        self.s.click(self.panel, *point, settle=settle)


def changed_share(a, b):
    return sum(1 for p, q in zip(a, b) if p != q) / len(a)


@harness.skip_unless_tools
class DoorsTest(unittest.TestCase):
    def test_eachToggle_opensItsDoorwayThenShutsIt_clicksDuringAMovementTakeEffectAfterIt(self):
        with harness.Session() as s:
            d = DoorSession(s)
            shut = d.settled()

            d.toggle(CHECK1)
            front_open = d.settled()
            self.assertGreater(changed_share(d.region(front_open, FRONT), d.region(shut, FRONT)), 0.5)
            self.assertEqual(d.region(front_open, MIDDLE_LEFT), d.region(shut, MIDDLE_LEFT))

            d.toggle(CHECK1)
            self.assertEqual(d.region(d.settled(), FRONT), d.region(shut, FRONT))

            d.toggle(CHECK2)
            middle_open = d.settled()
            for area in (MIDDLE_LEFT, MIDDLE_RIGHT):
                self.assertGreater(changed_share(d.region(middle_open, area), d.region(shut, area)), 0.5)
            self.assertEqual(d.region(middle_open, FRONT), d.region(shut, FRONT))

            d.toggle(CHECK2)
            back = d.settled()
            for area in (FRONT, MIDDLE_LEFT, MIDDLE_RIGHT):
                self.assertEqual(d.region(back, area), d.region(shut, area))

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

    def test_toggleQueuedBeforeTheShuttingSound_waitsUntilTheMiddleDoorHasShut(self):
        # The middle door shuts in about 3.6 seconds at this speed.
        line = '0,0,0,4000,"","",0,0,"",3450,2010,#TRUE#,#TRUE#,10000,20000,0'
        with harness.Session(settings_line=line) as s:
            d = DoorSession(s)
            shut = d.settled()
            d.toggle(CHECK2)
            d.toggle(CHECK1)
            both_open = d.settled()

            # While the front door shuts, the middle toggle and then the front toggle are clicked.
            # The first shuts the middle door; the one pass over waiting events as its sound starts
            # must leave the second queued until the middle door has shut.
            d.toggle(CHECK1, settle=0.3)
            d.toggle(CHECK2, settle=0.1)
            d.toggle(CHECK1, settle=0.1)
            deadline = time.monotonic() + 30
            while time.monotonic() < deadline:
                shot = s.screenshot()
                middle = d.region(shot, MIDDLE_LEFT)
                front = d.region(shot, FRONT)
                if middle not in (d.region(shut, MIDDLE_LEFT), d.region(both_open, MIDDLE_LEFT)):
                    self.assertTrue(front == d.region(shut, FRONT), "the front door moved during the middle door's")
                if middle == d.region(shut, MIDDLE_LEFT) and front == d.region(both_open, FRONT):
                    break
                time.sleep(0.1)
            else:
                self.fail("the doors did not reach front open, middle shut")

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
