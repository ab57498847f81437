"""Runs tavro.exe under Wine on a private Xvfb display and drives it with xdotool."""

import json
import os
import shutil
import subprocess
import time

import screen

WINDOW_TIMEOUT = 60  # the first start of a prefix is slow
SCREEN_WIDTH = 2560  # room for the main window with a side window docked on each side
CONDITION_TIMEOUT = 15
# The overwrite caret's and the selection's fill: the selection colour at its alpha over the
# DarkBlue background.
DARK_BLUE_SELECTION = tuple(round(0.45 * s + 0.55 * b) for s, b in zip((0x1F, 0x6F, 0xEB), (0x0D, 0x1B, 0x2A)))
# The drag source speaks X through python3-xlib, which Debian installs for its own python.
DROP_SOURCE = ["/usr/bin/python3", os.path.join(os.path.dirname(os.path.abspath(__file__)), "xdnd_drop.py")]


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def near(colour, expected, tolerance=4):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


def write(path, content):
    with open(path, "wb") as out:
        out.write(content)
    return path


def wait_for(condition, timeout=CONDITION_TIMEOUT, interval=0.1, what="condition"):
    """Polls condition() until it returns a true value, which is returned; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        problem = ""
        try:
            value = condition()
            if value:
                return value
        except TestFailure as failure:  # not there yet
            problem = " (%s)" % failure
        if time.monotonic() > deadline:
            raise TestFailure("timed out waiting for " + what + problem)
        time.sleep(interval)


def wait_value(read, accept, what, **options):
    """Polls read() until accept() takes its value, which is returned; the failure names the last
    value read."""
    seen = []
    try:
        wait_for(lambda: seen.append(read()) or accept(seen[-1]), what=what, **options)
    except TestFailure as failure:
        raise TestFailure("%s; last seen %r" % (failure, seen[-1] if seen else None))
    return seen[-1]


class Display:
    """An Xvfb server on the first free display number from 90."""

    def __init__(self):
        self.process = None
        self.name = None

    def start(self):
        for number in range(90, 200):
            if os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
                continue
            self.name = ":%d" % number
            self.process = subprocess.Popen(["Xvfb", self.name, "-screen", "0", "%dx1024x24" % SCREEN_WIDTH,
                                             "-nolisten", "tcp"],
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                wait_for(lambda: self.process.poll() is not None or self._answers(), timeout=10, what="Xvfb")
            except TestFailure:
                self.stop()
                raise
            if self.process.poll() is None:
                return
        raise TestFailure("no free X display")

    def _answers(self):
        return subprocess.run(["xdotool", "getdisplaygeometry"], env={"DISPLAY": self.name},
                              capture_output=True).returncode == 0

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Wine:
    """A private Wine prefix, prepared once and reused by later runs."""

    def __init__(self, prefix, display):
        self.prefix = prefix
        self.display = display

    def env(self):
        env = dict(os.environ)
        env.update({"WINEPREFIX": self.prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml=",
                    "DISPLAY": self.display.name, "LANG": "en_US.UTF-8"})
        return env

    def prepare(self):
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            subprocess.run(["wineboot", "-i"], env=self.env(), capture_output=True, timeout=600)
            subprocess.run(["wineserver", "-w"], env=self.env(), timeout=600)
        # One server for the whole run keeps later starts fast.
        self.server = subprocess.Popen(["wineserver", "-p", "-f"], env=self.env(), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)

    def start(self, exe, args, cwd):
        return subprocess.Popen(["wine", exe] + args, cwd=cwd, env=self.env(), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def kill_all(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), capture_output=True, timeout=60)

    def stop(self):
        self.kill_all()
        if getattr(self, "server", None):
            try:
                self.server.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait()


class App:
    """One run of tavro.exe in a directory of its own, with a settings file beside it; without
    build_app_dir, the tavro.exe that work_dir holds already."""

    def __init__(self, wine, build_app_dir, work_dir, artifacts):
        self.wine = wine
        self.dir = work_dir
        self.artifacts = artifacts
        self.display = wine.display.name
        self.process = None
        self.window = None
        if not build_app_dir:
            return
        # A run starts on a fresh data folder (files made unwritable by a failed run included).
        subprocess.run(["chattr", "-R", "-i", os.path.join(work_dir, "data")], capture_output=True)
        shutil.rmtree(os.path.join(work_dir, "data"), ignore_errors=True)
        os.makedirs(work_dir, exist_ok=True)
        shutil.copy2(os.path.join(build_app_dir, "tavro.exe"), work_dir)
        shutil.copytree(os.path.join(build_app_dir, "resources"), os.path.join(work_dir, "resources"),
                        dirs_exist_ok=True)

    # --- settings ------------------------------------------------------------------------

    @property
    def settings_path(self):
        return os.path.join(self.dir, "tavro.settings.json")

    def write_settings(self, theme="DarkBlue", language="English", encoding="Ascii", inspector=False,
                       struct_view=False):
        settings = {"appVersion": "v1.02", "encoding": encoding, "theme": theme, "language": language,
                    "font": {"family": "DejaVu Sans Mono", "size": 12, "bold": False, "italic": False},
                    "analysis": {"dataInspector": {"visible": inspector},
                                 "structView": {"visible": struct_view, "byteArrayFormat": "hex", "endian": "little",
                                                "numericBase": "hex"}},
                    "recentFiles": [], "searchHistory": []}
        with open(self.settings_path, "w", encoding="utf-8", newline="\r\n") as out:
            json.dump(settings, out, indent=2)

    def settings(self):
        with open(self.settings_path, encoding="utf-8") as stream:
            return json.load(stream)

    def data_file(self, name, content):
        """A fresh file in the run's data folder."""
        folder = os.path.join(self.dir, "data")
        os.makedirs(folder, exist_ok=True)
        return write(os.path.join(folder, name), content)

    # --- process and window ----------------------------------------------------------------

    def start(self, file=None):
        """Starts tavro.exe in its folder on file: a Linux path, or a relative name passed as it is,
        as a shell would."""
        args = []
        if file:
            args.append("Z:" + os.path.normpath(file).replace("/", "\\") if os.path.isabs(file) else file)
        self.process = self.wine.start(os.path.join(self.dir, "tavro.exe"), args, self.dir)
        self.window = wait_for(self._find_window, timeout=WINDOW_TIMEOUT, interval=0.25, what="the main window")
        # The window is drawn once the status bar shows its text.
        wait_for(lambda: self.status_text_extent() > 0, what="the first paint")

    def _find_window(self):
        result = self.xdotool("search", "--onlyvisible", "--name", "^Tavro", check=False)
        ids = result.split()
        return ids[0] if ids else None

    def stop(self):
        # The last picture of each window: what a failed case left on the screen.
        for number, window in enumerate(self.xdotool("search", "--onlyvisible", "--name", ".", check=False).split()):
            try:
                self.window_image(window).save_png(os.path.join(self.artifacts, "end-%s-%d.png" % (
                    os.path.basename(self.dir), number)))
            except subprocess.SubprocessError:
                pass  # closed meanwhile
        self.wine.kill_all()
        if self.process:
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool"] + list(args), env={"DISPLAY": self.display}, capture_output=True,
                                text=True, timeout=30)
        if check and result.returncode != 0:
            raise TestFailure("xdotool %s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout.strip()

    def find_windows(self, title):
        """The ids of every visible window titled exactly title."""
        return self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title, check=False).split()

    def find_window(self, title):
        """The id of the visible window titled exactly title, or None."""
        ids = self.find_windows(title)
        return ids[0] if ids else None

    def wait_window(self, title):
        return wait_for(lambda: self.find_window(title), what="the window %r" % title)

    def wait_window_gone(self, title):
        wait_for(lambda: not self.find_window(title), what="the window %r to close" % title)

    def wait_box_over(self, window, title):
        """The id of the message box titled title that comes up over window (often titled alike)."""
        return wait_for(lambda: next((w for w in self.find_windows(title) if w != window), None),
                        what="a message box %r" % title)

    def press_in(self, title, *keys):
        """Presses keys in the window titled title, which they close."""
        self.key(*keys, window=self.wait_window(title))
        self.wait_window_gone(title)

    def title(self):
        return self.xdotool("getwindowname", self.window, check=False)

    def wait_title(self, expected):
        return wait_for(lambda: self.title() == expected, what="title %r (now %r)" % (expected, self.title()))

    def focus(self, window=None):
        self.xdotool("windowfocus", "--sync", window or self.window)

    def key(self, *keys, window=None):
        """Presses keys in the main window, or in another window by id."""
        self.focus(window)
        for key in keys:
            self.xdotool("key", "--clearmodifiers", key)

    def type_text(self, text, window=None):
        self.focus(window)
        self.xdotool("type", "--delay", "50", text)

    def menu(self, *keys):
        """Opens a menu with Alt and its access key, then picks items by their access keys."""
        self.focus()
        self.xdotool("key", "alt+" + keys[0])
        for key in keys[1:]:
            time.sleep(0.3)  # the popup must be open before its access key counts
            self.xdotool("key", key)

    def geometry(self, window=None):
        """(x, y, width, height) of the main window, or of another window by id."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window or self.window).splitlines():
            name, _, value = line.partition("=")
            values[name] = int(value) if value.lstrip("-").isdigit() else value
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def click(self, x, y):
        """Clicks at a point of the screen, also when the pointer is there already (where a
        synchronous move would wait for a motion that never comes)."""
        self.xdotool("mousemove", str(x), str(y), "click", "1")

    def drop(self, *paths):
        """Drops files on the middle of the main window, as a file manager would."""
        x, y, width, height = self.geometry()
        result = subprocess.run(DROP_SOURCE + [self.display, self.window, str(x + width // 2), str(y + height // 2)] +
                                list(paths), capture_output=True, text=True, timeout=60)
        check(result.returncode == 0, "the drop failed: %s%s" % (result.stdout, result.stderr))

    def wheel_with_ctrl(self, x, y, up=True):
        self.focus()
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("keydown", "ctrl")
        self.xdotool("click", "4" if up else "5")
        self.xdotool("keyup", "ctrl")

    # --- clipboard -----------------------------------------------------------------------------

    def clipboard(self):
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env={"DISPLAY": self.display},
                                capture_output=True, timeout=10)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    # --- pixels ----------------------------------------------------------------------------------

    def window_image(self, window):
        """A popup's own picture: the root window's shows dialogs black."""
        return screen.capture(self.display, window)

    def screenshot(self, name=None, window=None):
        """The main window (or another window by id) as an Image, saved as name.png when named."""
        x, y, width, height = self.geometry(window)
        image = screen.capture(self.display).crop(x, y, x + width, y + height)
        if name:
            image.save_png(os.path.join(self.artifacts, name + ".png"))
        return image

    def status_box(self, image):
        """The status bar: the bottom 22 pixels of the window, without its size grip."""
        return 0, image.height - 22, image.width - 24, image.height

    def status_text_extent(self, image=None):
        """How far right the status bar's text reaches, in pixels; 0 when it shows none."""
        image = image or self.screenshot()
        left, top, right, bottom = self.status_box(image)
        background = image.pixel(left + 2, bottom - 3)
        points = image.find(lambda c: sum(abs(a - b) for a, b in zip(c, background)) > 120,
                            (left, top + 4, right, bottom - 2))
        return max((p[0] for p in points), default=0)
