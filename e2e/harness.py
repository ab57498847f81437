"""Runs tavro.exe under Wine on a private Xvfb display, drives it with xdotool and reads its pixels."""

import functools
import json
import operator
import os
import shutil
import struct
import subprocess
import sys
import time
import urllib.parse
import zlib
from subprocess import DEVNULL

SCREEN_WIDTH = 2560  # room for the main window with a side window docked on each side
# The selection's fill, the overwrite caret's too: its colour at its alpha over the DarkBlue background.
DARK_BLUE_SELECTION = tuple(round(0.45 * s + 0.55 * b) for s, b in zip((0x1F, 0x6F, 0xEB), (0x0D, 0x1B, 0x2A)))


class TestFailure(Exception):
    pass


class Text(str):
    """Text to type, among the keys App.key presses."""


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


def wait_for(probe, accept=bool, what="condition", timeout=15, interval=0.1):
    """Polls probe() until accept takes its value (or the value equals accept, when not a function),
    which is returned. A TestFailure from probe means "not yet"; a timeout names the last value."""
    if not callable(accept):
        accept = functools.partial(operator.eq, accept)
    deadline = time.monotonic() + timeout
    seen = problem = None
    while True:
        try:
            seen = probe()
            if accept(seen):
                return seen
        except TestFailure as failure:
            problem = failure
        if time.monotonic() > deadline:
            raise TestFailure("timed out waiting for %s; last seen %r%s" %
                              (what, seen, " (%s)" % problem if problem else ""))
        time.sleep(interval)


def windows_path(path):
    return "Z:" + os.path.normpath(path).replace("/", "\\")


def reap(process):
    """Waits for process to end, and ends it when it takes too long."""
    try:
        process.wait(timeout=20)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Image:
    """An RGB screenshot; pixel(x, y) gives an (r, g, b) tuple."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb  # rgb: 3 bytes a pixel, row by row

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, left, top, right, bottom):
        left, top, right, bottom = max(0, left), max(0, top), min(self.width, right), min(self.height, bottom)
        rows = [self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3] for y in range(top, bottom)]
        return Image(right - left, bottom - top, b"".join(rows))

    def find(self, predicate, box=None):
        """The points (x, y) inside box (left, top, right, bottom) whose colour satisfies predicate."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        left, right = max(0, left), min(self.width, right)
        points, verdicts = [], {}  # a picture holds few distinct colours: ask the predicate once for each
        for y in range(max(0, top), min(self.height, bottom)):
            row = self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for x, colour in enumerate(zip(row[0::3], row[1::3], row[2::3]), left):
                verdict = verdicts.get(colour)
                if verdict is None:
                    verdict = verdicts[colour] = bool(predicate(colour))
                if verdict:
                    points.append((x, y))
        return points

    def difference(self, other):
        """The share of pixels that differ between two images of the same size."""
        if (self.width, self.height) != (other.width, other.height):
            return 1.0
        differing = sum(1 for i in range(0, len(self.rgb), 3) if self.rgb[i:i + 3] != other.rgb[i:i + 3])
        return differing / max(1, self.width * self.height)

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        write(path, b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6)) +
              chunk(b"IEND", b""))


def capture(display, window=None):
    """The root window (or one window) of display as an Image."""
    command = ["xwd", "-silent"] + (["-id", str(window)] if window else ["-root"])
    # xwd fails now and then while Wine maps or unmaps a window: try again before giving up.
    for attempt in range(3):
        result = subprocess.run(command, env={"DISPLAY": display}, capture_output=True, timeout=20)
        if result.returncode == 0:
            break
        time.sleep(0.2)
    result.check_returncode()
    fields = struct.unpack(">25I", result.stdout[:100])
    width, height, step, line = fields[4], fields[5], fields[11] // 8, fields[12]
    # Little-endian pixels of 4 bytes, or of 3 (Wine's screen) in lines as long as for 4; a byte a channel.
    check(fields[7] == 0 and step in (3, 4) and fields[14:17] == (0xFF0000, 0xFF00, 0xFF), "an unknown XWD layout")
    start = fields[0] + fields[19] * 12  # past the header and the colour map
    rgb = bytearray(3 * width * height)
    for y in range(height):
        row = result.stdout[start + y * line:start + y * line + width * step]
        for channel in range(3):
            rgb[3 * width * y + channel:3 * width * (y + 1):3] = row[2 - channel::step]
    return Image(width, height, bytes(rgb))


class Wine:
    """A Wine prefix, created on first use, on an X display; extra is added to the programs' environment."""

    def __init__(self, prefix, display=None, **extra):
        self.prefix, self.display, self.extra, self.server = prefix, display, extra, None

    def start_display(self):
        """Starts a private Xvfb server on a display number of its own choosing; returns it."""
        reader, writer = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0", "%dx1024x24" % SCREEN_WIDTH,
                                 "-nolisten", "tcp"], pass_fds=(writer,), stdout=DEVNULL, stderr=DEVNULL)
        os.close(writer)
        with os.fdopen(reader) as stream:  # written once the server takes connections
            self.display = ":" + stream.readline().strip()
        check(self.display != ":", "Xvfb did not start")
        return xvfb

    def env(self):
        env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                   DISPLAY=self.display, LANG="en_US.UTF-8")
        env.update(self.extra)
        return env

    def prepare(self):
        """Creates the prefix on first use and starts the wineserver that the run's programs share."""
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            subprocess.run(["wineboot", "-i"], env=self.env(), capture_output=True, timeout=600)
            subprocess.run(["wineserver", "-w"], env=self.env(), timeout=600)
        self.server = subprocess.Popen(["wineserver", "-p", "-f"], env=self.env(), stdout=DEVNULL, stderr=DEVNULL)

    def kill_all(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), capture_output=True, timeout=60)

    def stop(self):
        self.kill_all()
        if self.server:
            reap(self.server)


class App:
    """A run of tavro.exe in work_dir: a copy of build_app_dir's, or without it the one there already."""

    def __init__(self, wine, build_app_dir, work_dir, artifacts):
        self.wine, self.dir, self.artifacts = wine, work_dir, artifacts
        self.display = wine.display
        self.settings_path = os.path.join(work_dir, "tavro.settings.json")
        self.process = self.window = None
        if build_app_dir:
            # A run starts in a fresh folder (files made unwritable by a failed run included).
            subprocess.run(["chattr", "-R", "-i", work_dir], capture_output=True)
            shutil.rmtree(work_dir, ignore_errors=True)
            os.makedirs(work_dir)
            shutil.copy2(os.path.join(build_app_dir, "tavro.exe"), work_dir)
            shutil.copytree(os.path.join(build_app_dir, "resources"), os.path.join(work_dir, "resources"),
                            dirs_exist_ok=True)

    def write_settings(self, encoding):
        """English, DarkBlue, a 12-point font, the side windows hidden."""
        settings = {"appVersion": "v1.02", "encoding": encoding, "theme": "DarkBlue", "language": "English",
                    "font": {"family": "DejaVu Sans Mono", "size": 12, "bold": False, "italic": False},
                    "analysis": {"dataInspector": {"visible": False},
                                 "structView": {"visible": False, "byteArrayFormat": "hex", "endian": "little",
                                                "numericBase": "hex"}},
                    "recentFiles": [], "searchHistory": []}
        with open(self.settings_path, "w", encoding="utf-8", newline="\r\n") as out:
            json.dump(settings, out, indent=2)

    def settings(self):
        try:
            with open(self.settings_path, encoding="utf-8") as stream:
                return json.load(stream)
        except (OSError, ValueError) as error:  # not written yet, or being written
            raise TestFailure("no settings: %s" % error)

    def wait_setting(self, value, *keys):
        """Waits for the settings file to hold value under the keys."""
        wait_for(lambda: functools.reduce(lambda found, key: found[key], keys, self.settings()),
                 value, "the setting %s to be %r" % ("/".join(keys), value))

    def data_file(self, name, content):
        """A fresh file in the run's data folder."""
        os.makedirs(os.path.join(self.dir, "data"), exist_ok=True)
        return write(os.path.join(self.dir, "data", name), content)

    def start(self, file=None):
        """Starts tavro.exe on file (a Linux path, or a relative name passed as it is) until its title shows."""
        args = [windows_path(file) if os.path.isabs(file) else file] if file else []
        self.process = subprocess.Popen(["wine", os.path.join(self.dir, "tavro.exe")] + args, cwd=self.dir,
                                        env=self.wine.env(), stdout=DEVNULL, stderr=DEVNULL)
        self.window = wait_for(lambda: self.find_windows("Tavro.*"), timeout=60, interval=0.25,
                               what="the main window")[0]  # a prefix's first start is slow
        self.wait_title("Tavro - " + os.path.basename(file) if file else "Tavro")
        # The window is drawn once the status bar shows its text.
        wait_for(self.status_text_extent, what="the first paint")

    def stop(self):
        # The last picture of each window: what a failed case left on the screen.
        for number, window in enumerate(self.find_windows(".+")):
            try:
                self.screenshot("end-%s-%d" % (os.path.basename(self.dir), number), window, popup=True)
            except subprocess.SubprocessError:
                pass  # closed meanwhile
        self.wine.kill_all()
        if self.process:
            reap(self.process)

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool"] + list(args), env={"DISPLAY": self.display}, capture_output=True,
                                text=True, timeout=30)
        if check and result.returncode != 0:
            raise TestFailure("xdotool %s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout.strip()

    def find_windows(self, title):
        """The ids of every visible window whose whole title matches the pattern title."""
        return self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title, check=False).split()

    def wait_window(self, title):
        return wait_for(lambda: self.find_windows(title), what="the window %r" % title)[0]

    def wait_window_gone(self, title):
        wait_for(lambda: self.find_windows(title), lambda ids: not ids, "the window %r to close" % title)

    def wait_box_over(self, window, title):
        """The id of the message box titled title that comes up over window (often titled alike)."""
        return wait_for(lambda: [w for w in self.find_windows(title) if w != window], what="a box %r" % title)[0]

    def press_in(self, title, *keys):
        """Presses keys in the window titled title, which they close."""
        self.key(*keys, window=self.wait_window(title))
        self.wait_window_gone(title)

    def title(self):
        return self.xdotool("getwindowname", self.window, check=False)

    def wait_title(self, expected):
        wait_for(self.title, expected, "the title %r" % expected)

    def focus(self, window=None):
        self.xdotool("windowfocus", "--sync", window or self.window)

    def key(self, *keys, window=None, title=None, opens=None):
        """Presses keys (types Texts) in the main window or window; then waits for the main window's
        title, or for a window titled opens and returns its id, when given."""
        self.focus(window)
        for key in keys:
            if isinstance(key, Text):
                self.xdotool("type", "--delay", "50", key)
            else:
                self.xdotool("key", "--clearmodifiers", key)
        return self.then(title, opens)

    def menu(self, *keys, title=None, opens=None):
        """Opens a menu with Alt and its access key and picks items by theirs; then as key() does."""
        self.focus()
        self.xdotool("key", "alt+" + keys[0])
        for key in keys[1:]:
            time.sleep(0.3)  # the popup must be open before its access key counts
            self.xdotool("key", key)
        return self.then(title, opens)

    def then(self, title, opens):
        if title:
            self.wait_title(title)
        return self.wait_window(opens) if opens else None

    def geometry(self, window=None):
        """(x, y, width, height) of the main window, or of another window by id."""
        values = dict(line.partition("=")[::2] for line in
                      self.xdotool("getwindowgeometry", "--shell", window or self.window).splitlines())
        return tuple(int(values[name]) for name in ("X", "Y", "WIDTH", "HEIGHT"))

    def click_in(self, window, x, y):
        """Clicks at (x, y) in window or the main window, negative x and y from the right and bottom edges
        (with no synchronous move: when the pointer is there already, it would wait for a motion forever)."""
        left, top, width, height = self.geometry(window)
        self.xdotool("mousemove", str(left + x % width), str(top + y % height), "click", "1")

    def drop(self, *paths):
        """Drops files on the middle of the main window, as a file manager would."""
        x, y, width, height = self.geometry()
        # The drag source, xdnd_drop(), speaks X through python3-xlib, which Debian installs for its own python.
        result = subprocess.run(["/usr/bin/python3", os.path.abspath(__file__), self.display, self.window,
                                 str(x + width // 2), str(y + height // 2)] + list(paths), capture_output=True,
                                text=True, timeout=60)
        check(result.returncode == 0, "the drop failed: %s%s" % (result.stdout, result.stderr))

    def wheel_with_ctrl(self, x, y):
        """Turns the wheel up with Ctrl held, at (x, y) in the main window."""
        left, top, _, _ = self.geometry()
        self.focus()
        self.xdotool("mousemove", "--sync", str(left + x), str(top + y), "keydown", "ctrl", "click", "4",
                     "keyup", "ctrl")

    def clipboard(self):
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env={"DISPLAY": self.display},
                                capture_output=True, timeout=10)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def copied(self, expected):
        """Waits for the clipboard to hold expected (Wine hands CR LF to X as it is or as LF)."""
        wait_for(lambda: (self.clipboard() or "").replace("\r\n", "\n"), expected, "the clipboard %r" % expected)

    def screenshot(self, name=None, window=None, popup=False):
        """The main window (or another by id) as on the screen, or a popup's own picture (the screen shows
        dialogs black); saved as name.png when named."""
        x, y, width, height = self.geometry(window)
        image = capture(self.display, window) if popup else capture(self.display).crop(x, y, x + width, y + height)
        if name:
            image.save_png(os.path.join(self.artifacts, name + ".png"))
        return image

    def wait_image(self, accept, what, name=None, window=None, popup=False, **options):
        """Polls screenshots of the main window or window until accept takes one; saved as name.png if named."""
        image = wait_for(lambda: self.screenshot(window=window, popup=popup), accept, what, **options)
        if name:
            image.save_png(os.path.join(self.artifacts, name + ".png"))
        return image

    @staticmethod
    def status_box(image):
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


def xdnd_drop(name, window_id, x, y, *paths):
    """Drops files on an X window (a top-level window id; x and y a point in it, in root coordinates)
    as a file manager would, through the XDND protocol; None when the target accepted and finished."""
    from Xlib import X, display, protocol  # python3-xlib, in Debian's python only
    d = display.Display(name)
    atom = d.intern_atom
    target = d.create_resource_object("window", int(window_id, 0))
    source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    uri_type = atom("text/uri-list")
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)
    aware = target.get_full_property(atom("XdndAware"), X.AnyPropertyType)
    if not aware or not aware.value:
        return "the window is not a drop target"

    def send(kind, *data):
        event = protocol.event.ClientMessage(window=target, client_type=atom(kind),
                                             data=(32, [source.id] + list(data) + [0] * (4 - len(data))))
        target.send_event(event, event_mask=0)
        d.flush()

    def serve_until(kind):
        """Serves the file list until the target sends the client message kind; its data or None."""
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.SelectionRequest:
                    prop = event.property or event.target
                    if event.target == uri_type:
                        uris = "".join("file://%s\r\n" % urllib.parse.quote(path) for path in paths)
                        event.requestor.change_property(prop, uri_type, 8, uris.encode())
                    else:
                        prop = X.NONE  # only the file list is offered
                    event.requestor.send_event(protocol.event.SelectionNotify(
                        time=event.time, requestor=event.requestor, selection=event.selection,
                        target=event.target, property=prop))
                    d.flush()
                elif event.type == X.ClientMessage and event.client_type == atom(kind):
                    return event.data[1]
            time.sleep(0.01)

    send("XdndEnter", min(5, aware.value[0]) << 24, uri_type)
    send("XdndPosition", 0, (int(x) << 16) | int(y), X.CurrentTime, atom("XdndActionCopy"))
    status = serve_until("XdndStatus")
    if status is None or not status[1] & 1:
        send("XdndLeave")
        return "the target refused the drop"
    send("XdndDrop", 0, X.CurrentTime)
    return None if serve_until("XdndFinished") else "the target did not finish the drop"


if __name__ == "__main__":  # the drag source: xdnd_drop() in Debian's python
    sys.exit(xdnd_drop(*sys.argv[1:]))
