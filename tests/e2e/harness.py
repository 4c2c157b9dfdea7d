"""End-to-end harness: the real program on a private Xvfb server with a window manager.

A Session starts Xvfb (on a display it picks itself), openbox (which draws title bars and
closes windows the way a user does), copies the program into a temporary folder and starts it
there, so its settings file lands in that folder. Windows are found by their exact titles and
driven with xdotool; screenshots are read pixel by pixel. Everything the session started is
stopped by its process id when the session ends.

    with harness.Session() as s:
        bus = s.window(harness.BUS_TITLE)
        s.click(bus, 150, 20, button=3)
        shot = s.screenshot()
"""

import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest

BUS_TITLE = "ポルカノ\u3000-\u3000KT41A0001"
PANEL_TITLE = "設定パネル"
OPEN_TITLE = "開く"  # Qt's Open dialog, for the signboard's picture
CHOOSER_TITLE = "画像の位置"  # frmBrowseDir, the roll-sign folder chooser
BROWSER_TITLE = "方向幕のあるフォルダを選択してください"  # the folder browser behind its 参照 button
MESSAGE_TITLE = "ソラミネ"  # the program's message boxes
VERSION_TITLE = "ポルカノのバージョン情報"  # frmShowVersion
ERROR_TITLE = "Zozevezu.dllのエラー"  # the version window's message when the maker's library is missing

TWIPS = 15  # twips to a pixel
FRONT_SPEED_FIELD = 13  # the front door's speed in the settings line's fields, counted from 0

# Client coordinates in pixels (twips / TWIPS) of what the tests click and look at.
BARE_BUS = (150, 20)  # the bus window where nothing covers the bus
SIGN_BOX = (467, 32, 52, 32)  # the roll sign's box: x, y, width, height
SIGNBOARD_BOX = (230, 134, 94, 30)  # the signboard's box at its design place
PANEL_DISPLAY = (157 + 48, 16 + 10)  # the centre of the panel's keypad display, black while empty
PANEL_CHECK1 = (31, 30)  # frmSet Check1, the front door's toggle
PANEL_CHECK2 = (30, 75)  # Check2, the middle door's
PANEL_KEYPAD = {"1": (151 + 5 + 17, 92 + 13), "2": (151 + 38 + 17, 92 + 13)}  # inside Frame1
PANEL_FOLDER_BUTTON = (151 + 5 + 51, 146 + 9)  # 方向幕フォルダー, inside Frame1
PANEL_VERSION_BUTTON = (98, 155)  # Command3, バージョン情報
PANEL_FRONT_BAR_LEFT = (59 + 6, 15 + 8)  # HScroll1's arrows
PANEL_FRONT_BAR_RIGHT = ((855 + 30 + 1260) // TWIPS - 6, (195 + 30 + 120) // TWIPS)
PANEL_MIDDLE_BAR_LEFT = (58 + 6, 58 + 8)  # HScroll2's left arrow
CHOOSER_TEXT = (200, 37)  # frmBrowseDir Text1
CHOOSER_BROWSE = (377 + 34, 27 + 11)
CHOOSER_OK = (280 + 41, 55 + 11)
CHOOSER_CANCEL = (368 + 41, 55 + 11)
VERSION_LINK = (126, 206)  # frmShowVersion Label5
VERSION_OK = (279, 207)

# Items of the bus window's right-click menu, by the Down presses that reach them from its top.
MENU_SET_SIGNBOARD_PICTURE = 3  # 看板の画像を設定...

_HERE = os.path.dirname(os.path.abspath(__file__))
BIN_DIR = os.environ.get("PORUKANO_BIN_DIR", os.path.join(_HERE, "..", "..", "build", "bin"))
SOUND_MODULE = "libporukano_sound.so"


def bmp(width, height, rgb):
    """A 24-bit Windows bitmap of one solid colour, for faces and signboard pictures."""
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def click_front_speed_arrow(session, panel):
    """One click on the right arrow of the front door's speed bar: the speed goes up by 1."""
    session.click(panel, *PANEL_FRONT_BAR_RIGHT, settle=0.2)


def skip_unless_tools(test_case_class):
    needed = ["Xvfb", "openbox", "xdotool", "wmctrl", "import", "xprop"]
    missing = [tool for tool in needed if shutil.which(tool) is None]
    return unittest.skipIf(bool(missing), "missing tools: " + ", ".join(missing))(test_case_class)


class Screenshot:
    """A screenshot of the whole screen as raw RGB, with the PNG kept for looking at."""

    def __init__(self, width, height, rgb, png_path):
        self.width = width
        self.height = height
        self._rgb = rgb
        self.png_path = png_path

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self._rgb[offset:offset + 3])

    def region(self, x, y, width, height):
        """The pixels of a rectangle, row by row, as a list of (r, g, b)."""
        return [self.pixel(x + dx, y + dy) for dy in range(height) for dx in range(width)]


def accessibility_missing():
    """What the accessibility (AT-SPI) sessions need that is not installed; imports pyatspi."""
    missing = [tool for tool in ("dbus-daemon", AT_SPI_LAUNCHER) if shutil.which(tool) is None]
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        # The system's Python packages, for a Python of the same version outside the system's.
        sys.path.append("/usr/lib/python3/dist-packages")
        try:
            import pyatspi  # noqa: F401,F811
        except ImportError:
            missing.append("pyatspi")
    return missing


AT_SPI_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def _descendants(pid):
    """Process ids of the living descendants of `pid`, from /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError, ValueError):
                continue
            children.setdefault(ppid, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


class Session:
    def __init__(self, settings_line=None, files=None, program_name="KT41A0001", with_library=True,
                 screen=(1280, 800), env=None, start_program=True, installed_in=None,
                 accessibility=False, command=None, home=None, user=None, settings_folder=None):
        self.settings_line = settings_line
        self.files = files or {}
        self.program_name = program_name
        self.with_library = with_library
        self.screen = screen
        self.extra_env = env or {}
        self.start_program = start_program
        self.installed_in = installed_in  # run the program where it is installed instead of a copy
        self.command = command  # the file started, when not the program in its folder (a link to it)
        self.home = home  # the program's HOME, with XDG_CONFIG_HOME unset, and its working folder
        self.user = user  # (uid, gid) the program runs as, where the test runs as root
        self.settings_folder = settings_folder  # where the program keeps its settings; else its folder
        self.accessibility = accessibility  # a private session bus and AT-SPI bus for screen readers
        self.bus_address = None
        self._buses = []
        self.folder = None
        self.display = None
        self.app = None
        self._xvfb = None
        self._wm = None
        self._shots = 0

    # ---- lifetime -------------------------------------------------------------------------
    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        self.folder = self.installed_in or tempfile.mkdtemp(prefix="porukano-e2e-")
        self._runtime = tempfile.mkdtemp(prefix="porukano-xdg-")
        os.chmod(self._runtime, 0o700)
        if self.user is not None:
            os.chown(self._runtime, *self.user)
        self._start_xvfb()
        self._start_wm()
        if self.accessibility:
            self._start_buses()
        self._copy_program()
        if self.start_program:
            self.launch()

    def stop(self):
        # The AT-SPI launcher's bus and registry are its descendants; they go by their ids too.
        helpers = [pid for proc in self._buses if proc.poll() is None for pid in _descendants(proc.pid)]
        for proc in (self.app, *reversed(self._buses), self._wm, self._xvfb):
            if proc is not None and proc.poll() is None:
                try:
                    proc.send_signal(signal.SIGTERM)
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait(timeout=5)
        for pid in helpers:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        self.app = self._wm = self._xvfb = None
        self._buses = []
        if getattr(self, "_log", None) is not None:
            self._log.close()
            self._log = None
        if os.environ.get("PORUKANO_E2E_KEEP"):
            print("kept:", self.folder)
            return
        for path in (None if self.installed_in else self.folder, getattr(self, "_runtime", None)):
            if path:
                shutil.rmtree(path, ignore_errors=True)

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        width, height = self.screen
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.strip().decode()

    def _start_wm(self):
        # A busy machine can make openbox slow to take over the screen; give it time, and a
        # second chance if it gave up.
        for _ in range(2):
            self._wm = subprocess.Popen(["openbox", "--sm-disable"], env=self._env(),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + 60
            while time.monotonic() < deadline and self._wm.poll() is None:
                out = self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
                if "window id" in out:
                    return
                time.sleep(0.2)
            if self._wm.poll() is None:
                self._wm.kill()
                self._wm.wait(timeout=5)
        raise RuntimeError("openbox did not start")

    def _start_buses(self):
        """A private session bus with an AT-SPI bus on it, for the program and for pyatspi."""
        read_fd, write_fd = os.pipe()
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", f"--print-address={write_fd}"],
                               pass_fds=(write_fd,), env=self._env(), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        self._buses.append(bus)
        os.close(write_fd)
        with os.fdopen(read_fd, "rb") as pipe:
            self.bus_address = pipe.readline().decode().strip()
        if not self.bus_address:
            raise RuntimeError("dbus-daemon did not start")
        self._buses.append(subprocess.Popen([AT_SPI_LAUNCHER, "--launch-immediately"], env=self._env(),
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        # pyatspi in this process finds the AT-SPI bus through the session bus.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            out = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                  "org.a11y.Bus.GetAddress"], env=self._env(), stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL).stdout
            if b"unix:" in out:
                return
            time.sleep(0.2)
        raise RuntimeError("the AT-SPI bus did not start")

    def _copy_program(self):
        if self.installed_in:
            return
        shutil.copy2(os.path.join(BIN_DIR, "KT41A0001"), os.path.join(self.folder, self.program_name))
        # The sound output's module goes with the program, as in the portable folder.
        shutil.copy2(os.path.join(BIN_DIR, SOUND_MODULE), os.path.join(self.folder, SOUND_MODULE))
        if self.with_library:
            for name in os.listdir(BIN_DIR):
                if re.match(r"^(lib)?QSK3Res\.(so|dll|dylib)", name):
                    shutil.copy2(os.path.join(BIN_DIR, name), os.path.join(self.folder, name))
        if self.settings_line is not None:
            with open(self.settings_path(), "wb") as f:
                f.write(self.settings_line.encode("utf-8") + b"\r\n")
        for relative, content in self.files.items():
            path = os.path.join(self.folder, relative)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(content if isinstance(content, bytes) else content.encode("utf-8"))

    def launch(self):
        """Starts (or starts again) the program in the session's folder."""
        env = self._env()
        env["QT_QPA_PLATFORM"] = "xcb"
        env.setdefault("PULSE_SERVER", "unix:/nonexistent")
        if self.accessibility:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        if self.home is not None:
            env["HOME"] = self.home
            env.pop("XDG_CONFIG_HOME", None)
        env.update(self.extra_env)
        if getattr(self, "_log", None) is not None:
            self._log.close()
        self._log = open(os.path.join(self._runtime, "program.log"), "ab")
        ids = {} if self.user is None else {"user": self.user[0], "group": self.user[1], "extra_groups": []}
        self.app = subprocess.Popen([self.command or os.path.join(self.folder, self.program_name)],
                                    cwd=self.home or self.folder, env=env, stdout=self._log,
                                    stderr=subprocess.STDOUT, **ids)
        return self.app

    def loaded_files(self):
        """The files the running program has mapped (libraries, fonts), from /proc."""
        with open(f"/proc/{self.app.pid}/maps") as maps:
            # address, permissions, offset, device, inode, then the path (which may hold spaces)
            fields = (line.rstrip("\n").split(None, 5) for line in maps)
            return {f[5] for f in fields if len(f) == 6}

    def wait_loaded(self, path, timeout=20):
        """Waits until the running program has mapped the file at `path`; returns whether it has."""
        deadline = time.monotonic() + timeout
        while path not in self.loaded_files():
            if time.monotonic() > deadline:
                return False
            time.sleep(0.1)
        return True

    def active_window(self):
        out = self._run(["xprop", "-root", "_NET_ACTIVE_WINDOW"], check=False)
        return int(out.split()[-1], 16) if "0x" in out else None

    def settings_path(self):
        return os.path.join(self.settings_folder or self.folder, self.program_name + ".ini")

    def _env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env["XDG_RUNTIME_DIR"] = self._runtime
        env.pop("WAYLAND_DISPLAY", None)
        if self.bus_address:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        else:
            env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return env

    def _run(self, args, check=True, input=None):
        result = subprocess.run(args, env=self._env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=30, input=input)
        if check and result.returncode != 0:
            raise RuntimeError(f"{args[0]} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace")

    # ---- windows -------------------------------------------------------------------------
    def windows(self, title):
        """Ids of the visible windows whose title is exactly `title`."""
        pattern = "^" + re.escape(title) + "$"
        out = self._run(["xdotool", "search", "--onlyvisible", "--name", pattern], check=False)
        return [int(line) for line in out.split()]

    def window(self, title, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.windows(title)
            if found:
                time.sleep(0.3)  # let the window manager finish placing it
                return found[0]
            if self.app is not None and self.app.poll() is not None:
                raise RuntimeError(f"the program ended ({self.app.returncode}) before {title!r} appeared")
            time.sleep(0.1)
        raise TimeoutError(f"no window titled {title!r}")

    def wait_gone(self, title, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.windows(title):
                return True
            time.sleep(0.1)
        return False

    def stacking(self):
        """The client windows in the window manager's stacking order, bottom first."""
        out = self._run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"])
        return [int(n, 16) for n in out.split("#", 1)[-1].replace(",", " ").split()]

    def frame_rect(self, win):
        """(x, y, width, height) of a window's outer frame, title bar and borders included."""
        x, y = self.client_origin(win)
        width, height = self.client_size(win)
        left, right, top, bottom = self.frame_extents(win)
        return (x - left, y - top, width + left + right, height + top + bottom)

    def centre_under(self, win, cover):
        """Moves the settings panel `cover` so that its black keypad display lies on the centre of
        `win`, and returns the 9 x 9 pixels around that centre as the screen shows them: all black
        where the panel covers the window."""
        x, y, width, height = self.frame_rect(win)
        cx, cy = x + width // 2, y + height // 2
        left, _, top, _ = self.frame_extents(cover)
        self.move(cover, cx - PANEL_DISPLAY[0] - left, cy - PANEL_DISPLAY[1] - top)
        ox, oy = self.client_origin(cover)
        if (ox + PANEL_DISPLAY[0], oy + PANEL_DISPLAY[1]) != (cx, cy):
            raise RuntimeError("the panel could not be moved onto the window's centre")
        return self.screenshot().region(cx - 4, cy - 4, 9, 9)

    def _xwininfo(self, win):
        out = self._run(["xwininfo", "-id", str(win)])
        values = {}
        for line in out.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                values[key.strip()] = value.strip()
        return values

    def client_origin(self, win):
        """The client area's top-left corner in screen coordinates."""
        # xdotool's own geometry adds the frame to the position a second time; xwininfo's absolute
        # corner is the client area's.
        values = self._xwininfo(win)
        return int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])

    def client_size(self, win):
        values = self._xwininfo(win)
        return int(values["Width"]), int(values["Height"])

    def frame_extents(self, win):
        """(left, right, top, bottom) of the window manager's frame around the client area."""
        out = self._run(["xprop", "-id", str(win), "_NET_FRAME_EXTENTS"], check=False)
        numbers = [int(n) for n in re.findall(r"-?\d+", out.split("=", 1)[-1])] if "=" in out else []
        return tuple(numbers) if len(numbers) == 4 else (0, 0, 0, 0)

    def windows_apart(self):
        """Moves the settings panel to the top right and the bus window below the top left, so
        neither covers the other; returns (bus, panel)."""
        bus = self.window(BUS_TITLE)
        panel = self.window(PANEL_TITLE)
        self.move(panel, 900, 0)
        self.move(bus, 0, 300)
        return bus, panel

    def activate(self, win):
        self._run(["xdotool", "windowactivate", "--sync", str(win)], check=False)
        time.sleep(0.1)

    def close(self, win):
        """Closes a window the way a user does: the window manager asks the program to close it."""
        self._run(["wmctrl", "-i", "-c", hex(win)])

    def move(self, win, x, y):
        """Moves a window's frame to (x, y) on screen through the window manager."""
        self._run(["wmctrl", "-i", "-r", hex(win), "-e", f"0,{x},{y},-1,-1"])
        time.sleep(0.3)

    # ---- input ---------------------------------------------------------------------------
    def mouse_to(self, win, x, y):
        ox, oy = self.client_origin(win)
        self._run(["xdotool", "mousemove", "--sync", str(ox + x), str(oy + y)])

    def click(self, win, x, y, button=1, settle=0.3):
        """Clicks at client coordinates of `win` (button 1 left, 2 middle, 3 right)."""
        self.mouse_to(win, x, y)
        self._run(["xdotool", "click", str(button)])
        time.sleep(settle)

    def double_click(self, win, x, y, settle=0.3):
        self.mouse_to(win, x, y)
        self._run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"])
        time.sleep(settle)

    def drag(self, win, x1, y1, x2, y2, button=1, steps=10, settle=0.3):
        self.mouse_to(win, x1, y1)
        self._run(["xdotool", "mousedown", str(button)])
        time.sleep(0.1)
        for i in range(1, steps + 1):
            self.mouse_to(win, x1 + (x2 - x1) * i // steps, y1 + (y2 - y1) * i // steps)
            time.sleep(0.02)
        self._run(["xdotool", "mouseup", str(button)])
        time.sleep(settle)

    def key(self, win, *keys, settle=0.3):
        """Presses keys (xdotool names: Down, Up, Return, alt+b ...) in the active window `win`."""
        self.activate(win)
        self._run(["xdotool", "key", "--clearmodifiers", *keys])
        time.sleep(settle)

    def choose_menu_item(self, position, at=BARE_BUS):
        """Opens the bus window's right-click menu at client point `at` and chooses the item
        `position` Down presses from its top (MENU_...) with Return."""
        self.click(self.window(BUS_TITLE), *at, button=3, settle=0.6)
        self._run(["xdotool", "key", *["Down"] * position, "Return"])

    def type(self, win, text, settle=0.3):
        self.activate(win)
        self._run(["xdotool", "type", "--delay", "20", text])
        time.sleep(settle)

    # ---- screen --------------------------------------------------------------------------
    def screenshot(self, name=None):
        self._shots += 1
        png = os.path.join(self._runtime, name or f"shot{self._shots}.png")
        self._run(["import", "-window", "root", png])
        rgb = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], stdout=subprocess.PIPE, check=True).stdout
        width, height = self.screen
        if os.environ.get("PORUKANO_E2E_SHOTS"):
            os.makedirs(os.environ["PORUKANO_E2E_SHOTS"], exist_ok=True)
            shutil.copy2(png, os.path.join(os.environ["PORUKANO_E2E_SHOTS"], os.path.basename(png)))
        return Screenshot(width, height, rgb, png)

    # ---- program -------------------------------------------------------------------------
    def wait_exit(self, timeout=10):
        try:
            return self.app.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def read_settings(self):
        with open(self.settings_path(), "rb") as f:
            return f.read()

    def settings_fields(self):
        """The fields of the settings line, which ends in CR LF."""
        line = self.read_settings()
        if not line.endswith(b"\r\n"):
            raise AssertionError(f"the settings line does not end in CR LF: {line!r}")
        return line[:-2].decode("utf-8").split(",")
