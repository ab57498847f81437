"""The GUI journeys: one method per user journey, with the helpers on the hex view's pixels they share."""

import hashlib
import os
import re
import shutil
import struct
import subprocess
import time
import zipfile
import zlib

from harness import DARK_BLUE_SELECTION, App, Text, Wine, check, near, read, wait_for, windows_path, write

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
THEME_BACKGROUNDS = {"Light": (0xF6, 0xF4, 0xEF), "DarkBlue": (0x0D, 0x1B, 0x2A), "Black": (0x11, 0x11, 0x11)}
LARGE = bytes(i % 251 for i in range(4096))
STATUS_COLOURS = {"Black": (17, 17, 17), "DarkBlue": (13, 27, 42)}  # Light uses the button face
CONTENT = bytes(range(32, 127)) * 8  # 760 bytes
# The changed-byte text colour of each theme.
CHANGED = {"Light": (0xC6, 0x28, 0x28), "DarkBlue": (0xFF, 0xB4, 0x54), "Black": (0xFF, 0xD0, 0x4A)}
# The caret cell inside a selection is filled twice.
SELECTION_UNDER_CARET = tuple(round(0.45 * s + 0.55 * b) for s, b in zip((0x1F, 0x6F, 0xEB), DARK_BLUE_SELECTION))
ROWS = b"Tavro hex editor: rows of sixteen bytes.\n"
ROWS_HEX = "72 6F 77 73"  # "rows", at offsets 18, 59 and 100
EDITOR_HEX = "65 64 69 74 6F 72"  # "editor", at offsets 10, 51 and 92
TO_TEXT = ("shift+Tab", "Down", "Tab")  # the search type list one down ("Text"), back to the query
# The background of the active query's matches in each theme.
MATCH = {"Light": (0xFF, 0xE0, 0x8A), "DarkBlue": (0x5E, 0x4A, 0x0C), "Black": (0x57, 0x45, 0x00)}
INSPECTOR_HEADER = (0x2A, 0x47, 0x6E)  # the header band in the DarkBlue theme
EMPTY_MESSAGE = "No struct pattern is loaded. Click Open to choose a pattern file (*.tvsd)."
# A 4 x 2 pixel, 24-bit BMP: its two headers and 16 bytes of pixels.
BMP = (b"BM" + struct.pack("<IHHI", 70, 0, 0, 54) +
       struct.pack("<IiiHHIIiiII", 40, 4, 2, 1, 24, 0, 16, 2835, 2835, 0, 0) + bytes(16))


def bmp_table(text):
    """Whether text is the Struct View's table of BMP's two headers (first, middle and last rows)."""
    return (text.startswith("Struct View\nDefinition: bmp.tvsd\n\nOffset\tValue\tSize\tName\n"
                            "0x0\t\t14\tfile : BITMAPFILEHEADER\n0x0\t0x4D42\t2\t  bfType\n") and
            "\n0xE\t\t40\tinfo : BITMAPINFOHEADER\n0xE\t0x00000028\t4\t  biSize\n" in text and
            text.endswith("\n0x32\t0x00000000\t4\t  biClrImportant") and text.count("\n") == 21)


def text_lines(image):
    """The bands of rows holding dark text in a message box, right of its icon and above its button."""
    rows = sorted({y for _, y in image.find(lambda c: max(c) < 90, (48, 0, image.width - 4, image.height - 40))})
    return sum(1 for a, b in zip([-2] + rows, rows) if b - a > 1)


def darkest(image, box):
    return min(min(image.pixel(x, y)) for x in range(box[0], box[2]) for y in range(box[1], box[3]))


def only_files_left(path, *names):
    left = sorted(os.listdir(os.path.dirname(path)))
    check(left == sorted((os.path.basename(path),) + names), "files left beside the saved one: %s" % left)


def bounding_box(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


class Journeys:
    def __init__(self, wine, build_dir, artifacts):
        self.wine, self.build_dir, self.artifacts = wine, build_dir, artifacts
        self.app_dir = os.path.join(build_dir, "app")

    def run(self, name):
        """Runs the case name; then, whatever its outcome, stops the runs it started and removes its large files."""
        self.apps, self.large_files = [], []
        try:
            getattr(self, name)()
        finally:
            for app in self.apps:
                app.stop()
            for path in self.large_files:
                os.remove(path)

    def app(self, name, first_start=False, encoding="Ascii"):
        """A run in a folder of its own: on the default settings, or in English and DarkBlue."""
        app = App(self.wine, self.app_dir, os.path.join(self.artifacts, "work", name), self.artifacts)
        if not first_start:
            app.write_settings(encoding)
        self.apps.append(app)
        return app

    def open_data(self, run, content):
        """A run on a fresh file of its own, the caret grid measured; (app, path, grid)."""
        app = self.app(run)
        path = app.data_file(run + ".bin", content)
        app.start(path)
        return app, path, self.calibrate(app)

    @staticmethod
    def save_and_expect(app, path, expected):
        app.key("ctrl+s", title="Tavro - " + os.path.basename(path))
        wait_for(lambda: read(path), expected, "the saved bytes")

    @staticmethod
    def hex_area(image, theme="DarkBlue"):
        """The bounding box of the hex view's background colour."""
        background = THEME_BACKGROUNDS[theme]
        points = image.find(lambda c: c == background, (0, 0, image.width, image.height - 22))
        check(points, "no pixel of the %s background" % theme)
        return bounding_box(points)

    def each_theme(self, app, colours=None, artifact="theme", tolerance=0, minimum=0):
        """Switches through the themes, DarkBlue last, yielding (theme, image, rows of hex pixels near colours)."""
        for name, key in (("Light", "l"), ("Black", "b"), ("DarkBlue", "d")):
            app.menu("s", "t", key)
            app.wait_setting(name, "theme")
            colour = (colours or THEME_BACKGROUNDS)[name]

            def matching(image):
                return image.find(lambda c: sum(abs(a - b) for a, b in zip(c, colour)) <= tolerance,
                                  self.hex_area(image, name))

            image = app.wait_image(lambda i: len(matching(i)) > minimum, "%s in the %s colour" % (artifact, name),
                                   "%s-%s" % (artifact, name))
            yield name, image, {y for _, y in matching(image)}

    def caret_box(self, image):
        """The hex cell of the overwrite caret: (left, top, right, bottom) of its fill."""
        points = image.find(lambda c: near(c, DARK_BLUE_SELECTION), self.hex_area(image))
        check(points, "no caret on screen")
        xs = sorted({p[0] for p in points})
        # The hex cell comes first; the text cell lies after a gap.
        end = next((a for a, b in zip(xs, xs[1:]) if b - a > 8), xs[-1])
        return bounding_box([p for p in points if p[0] <= end])

    def wait_caret_box(self, app, accept=bool, what="the caret"):
        return wait_for(lambda: self.caret_box(app.screenshot()), accept, what)

    def calibrate(self, app):
        """The caret grid (left, top, byte pitch, row height): the caret moved one byte right, one row down, back."""
        first = self.wait_caret_box(app)
        app.key("Right")
        right = self.wait_caret_box(app, lambda box: box[0] > first[0], "the caret one byte right")
        app.key("Left", "Down")
        down = self.wait_caret_box(app, lambda box: box[1] > first[1], "the caret one row down")
        app.key("Up")
        self.wait_caret_box(app, first, "the caret back at offset 0")
        return first[0], first[1], right[0] - first[0], down[1] - first[1]

    @staticmethod
    def wait_marked(app, grid, expected, what):
        """Waits for (row on screen, column, byte count) of the hex cells in the selection colour (the
        caret's, when nothing is selected) to equal expected, or to be accepted by it; returns it."""
        left, top, pitch, height = grid

        def cells():
            image = app.screenshot()
            box = (left - pitch // 2, top - height // 2, left + 16 * pitch, image.height - 22)
            points = image.find(lambda c: near(c, DARK_BLUE_SELECTION) or near(c, SELECTION_UNDER_CARET), box)
            check(points, "no selection on screen")
            first, top_y, last, _ = bounding_box(points)
            return round((top_y - top) / height), round((first - left) / pitch), round((last - first) / pitch)

        return wait_for(cells, expected, what)

    @staticmethod
    def status_changed(app, before, what):
        after = app.screenshot(what.replace(" ", "-"))
        box = app.status_box(after)
        check(after.crop(*box).difference(before.crop(*box)) > 0.001, what + " did not change the status bar")

    def test_browse_a_dropped_file_read_only(self):
        app = self.app("browse")
        app.start()
        extent = app.status_text_extent(app.screenshot("no-file"))
        check(0 < extent < 160, "status text reaches %d px, not the short no-file text" % extent)
        app.drop(app.data_file("large.bin", LARGE))
        app.wait_title("Tavro - large.bin")
        check(app.settings()["recentFiles"][0].endswith("large.bin"), "the file is not in the recent list")
        grid = self.calibrate(app)
        check(app.status_text_extent() > 300, "no view summary in the status bar")

        before = app.screenshot()
        app.key("Right", "Right", "Down")
        self.wait_marked(app, grid, (1, 2, 1), "the caret at row 1, column 2")
        app.key("Left")
        self.wait_marked(app, grid, (1, 1, 1), "the caret at row 1, column 1")
        self.status_changed(app, before, "moving the caret")
        app.key("Next")  # Page Down: the caret moves a page and the view follows
        _, column, _ = self.wait_marked(app, grid, lambda cell: cell[0] > 10, "the caret a page lower")
        check(column == 1, "Page Down moved the caret to column %d" % column)
        app.key("ctrl+End")
        self.wait_marked(app, grid, lambda cell: cell[1] == 15, "the caret in the last column")
        image = app.screenshot("caret-end")
        check(self.hex_area(image)[3] - self.caret_box(image)[3] < 2 * grid[3], "Ctrl+End did not scroll to the end")
        app.key("ctrl+Home")
        self.wait_marked(app, grid, (0, 0, 1), "the caret at offset 0")

        app.click_in(None, grid[0] + grid[2] + 4, grid[1] + grid[3] + 4)  # offset 17
        app.key("ctrl+c")
        app.copied("11")

        before = app.screenshot()
        app.key("ctrl+g")
        app.press_in("Go To Offset", "0", "x", "1", "f", "Return")
        self.wait_marked(app, grid, (1, 15, 1), "the caret at 0x1F")
        self.status_changed(app, before, "Go To Offset")
        prompt = app.key("ctrl+g", opens="Go To Offset")  # no number: an error box over the dialog, and the caret stays
        app.key("z", "Return", window=prompt)
        box = app.wait_box_over(prompt, "Go To Offset")
        app.screenshot("goto-invalid", window=box, popup=True)
        app.key("Return", window=box)
        app.wait_window_gone("Go To Offset")
        self.wait_marked(app, grid, (1, 15, 1), "the caret still at 0x1F")

        # Read-only: a key shows a red notice in the status bar for 900 ms (each key anew), the document unchanged.
        def red(image):
            left, top, right, bottom = app.status_box(image)
            return near(image.pixel(right - 10, bottom - 4), (180, 32, 32))

        image = wait_for(lambda: app.key("a") or app.screenshot(), red, "the red read-only notice", interval=0.5)
        image.save_png(os.path.join(self.artifacts, "read-only-flash.png"))
        app.wait_image(lambda image: not red(image), "the notice to end", timeout=5)
        check(app.title() == "Tavro - large.bin", "the document changed: %r" % app.title())

        before = app.screenshot("zoom-before")
        caret = self.caret_box(before)
        app.wheel_with_ctrl(caret[0] + 200, caret[1] + 100)
        self.wait_caret_box(app, lambda box: box[3] - box[1] > caret[3] - caret[1] + 1, "larger rows")
        self.status_changed(app, before, "the zoom")

        app.menu("h", "a")
        app.wait_image(lambda i: i.find(lambda c: c == (0, 102, 204)), "the blue homepage link", "about",
                       window=app.wait_window("About Tavro"), popup=True)
        app.press_in("About Tavro", "Escape")

        # Files dropped on a modified document open in new instances, one each, unasked.
        app.key("ctrl+r", "4", "1", title="Tavro - large.bin *")
        others = ("second with spaces.bin", "third.bin")
        app.drop(*[app.data_file(name, LARGE) for name in others])
        for name in others:
            app.wait_window("Tavro - " + name)
        check(app.title() == "Tavro - large.bin *" and not app.find_windows("Tavro"), "the drop changed it or asked")

    def test_fonts_themes_and_languages_on_a_japanese_text(self):
        app = self.app("looks", encoding="Utf8")
        app.start(os.path.join(ROOT, "samples", "sample-utf8.txt"))
        # Font fallback for the Japanese glyphs makes the first paints slow: wait until two
        # screenshots agree.
        shots = [app.screenshot()]
        image = app.wait_image(lambda i: shots.append(i) or (i.difference(shots[-2]) == 0 and self.hex_area(i)),
                               "the view to settle", "utf8-sample", interval=0.5)
        glyphs = image.find(lambda c: c[0] > 200 and c[1] > 200, self.hex_area(image))
        check(len(glyphs) > 5000, "the rows show only %d glyph pixels" % len(glyphs))

        first = self.wait_caret_box(app)
        dialog = app.menu("s", "f", opens="Font")
        app.wait_image(lambda i: i.find(lambda c: max(c) < 90), "texts", "font-dialog", window=dialog, popup=True)
        # Family list, then the size list (to 28), then Bold; Enter presses OK.
        app.key("Tab", "End", "Tab", "space", "Return", window=dialog)
        app.wait_window_gone("Font")
        app.wait_setting({"family": "DejaVu Sans Mono", "size": 28, "bold": True, "italic": False}, "font")
        self.wait_caret_box(app, lambda box: box[3] - box[1] > 1.8 * (first[3] - first[1]), "a caret twice as tall")

        for name, image, _ in self.each_theme(app, minimum=100_000):
            if name in STATUS_COLOURS:
                left, top, right, bottom = app.status_box(image)
                status = image.pixel(left + 2, bottom - 3)
                check(near(status, STATUS_COLOURS[name]), "status bar %s in theme %s" % (status, name))

        english = app.screenshot("menu-english").crop(0, 0, 400, 40)
        app.menu("s", "l", "j")
        app.wait_setting("Japanese", "language")
        app.wait_image(lambda i: i.crop(0, 0, 400, 40).difference(english) > 0.02, "the new menu bar", "menu-japanese")

    def test_edit_undo_paste_and_save_until_the_window_closes(self):
        app, path, _ = self.open_data("edit", CONTENT)
        app.key("ctrl+r", Text("4142"), title="Tavro - edit.bin *")  # two bytes, two steps
        app.key("ctrl+z", "ctrl+z", title="Tavro - edit.bin")  # back to the saved bytes: no " *"
        app.key("ctrl+y", title="Tavro - edit.bin *")
        app.menu("e", "d")  # Edit > Redo
        expected = b"AB" + CONTENT[2:]
        self.save_and_expect(app, path, expected)  # in place
        only_files_left(path)
        app.key("ctrl+z", "Right", title="Tavro - edit.bin")  # a save empties the history

        app.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right", "ctrl+c")
        app.copied("41 42 22 23")
        app.key("Escape", "ctrl+Home")
        # xclip keeps serving the selection in the background until another owner takes it.
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=b"DE AD\r\n0xBE 0xEF", check=True,
                       timeout=10, env={"DISPLAY": app.display})
        wait_for(app.clipboard, "DE AD\r\n0xBE 0xEF", "the X clipboard to hold the hex")
        app.key("ctrl+v")  # overwrites at 0, the caret after it
        app.key("Insert", "ctrl+v")  # inserted at 4
        app.key("shift+Right", "ctrl+v")  # replaces the bytes at 8 and 9
        expected = bytes.fromhex("DEADBEEF") * 3 + expected[6:]
        self.save_and_expect(app, path, expected)  # through a temporary file
        only_files_left(path)

        app.key("Insert", "ctrl+Home", "Tab", Text("Hi"))  # overwriting, in the text column
        app.menu("s", "e", "l")  # UTF-16 LE
        app.wait_setting("Utf16Le", "encoding")
        app.key(Text("Hi"))
        for _, _, rows in self.each_theme(app, CHANGED, "changed", tolerance=59, minimum=20):
            # Only the first row's first six cells (and their text cells) are changed.
            check(max(rows) - min(rows) < 30, "changed colour on rows %d to %d" % (min(rows), max(rows)))
        expected = b"HiH\0i\0" + expected[6:]
        self.save_and_expect(app, path, expected)

        app.key(Text("A"), title="Tavro - edit.bin *")
        # chattr +i makes the file unwritable for everyone, root and so Wine included.
        result = subprocess.run(["chattr", "+i", path], capture_output=True, text=True)
        check(result.returncode == 0, "chattr +i failed (%s); the file system must support it" % result.stderr)
        try:
            app.menu("f", "s")
            # The error text, a blank line and the system's reason: two lines of text.
            app.wait_image(lambda i: text_lines(i) >= 2, "the error text and the system's reason", "save-failed",
                           window=app.wait_window("Tavro"), popup=True)
            app.press_in("Tavro", "Return")
            check(app.title() == "Tavro - edit.bin *", "the title lost its mark: %r" % app.title())
        finally:
            subprocess.run(["chattr", "-i", path], capture_output=True)
        check(read(path) == expected, "the failed save changed the file")
        only_files_left(path)

        app.key("alt+F4")
        app.press_in("Tavro", "Escape")  # Cancel: the window stays, changes and all
        check(app.title() == "Tavro - edit.bin *", "Cancel changed the window: %r" % app.title())
        app.key("alt+F4")
        app.press_in("Tavro", "y")  # Yes: saved, then closed
        wait_for(lambda: app.process.poll() is not None, what="the program to end")
        check(read(path) == expected[:6] + b"A\0" + expected[8:], "Yes did not save the change")

    def test_large_save_shows_progress(self):
        app = self.app("large-save")
        path = app.data_file("large.bin", b"")
        os.truncate(path, 1 << 30)  # sparse: made at once, read fast
        self.large_files.append(path)
        app.start(path)
        normal = app.status_text_extent()
        app.key("ctrl+r", "Insert", "Right", "7", "e", title="Tavro - large.bin *")
        menu_before = darkest(app.screenshot(), (0, 0, 200, 18))  # the labels File to Help
        app.menu("f", "s")
        # While the temporary copy is written, the bar shows the short "Saving... N%" text
        # and is redrawn with new percentages; closing the window is ignored meanwhile.
        shots = []

        def progress_shown(image):
            if not 0 < app.status_text_extent(image) < normal - 100:
                return False
            box = app.status_box(image)
            if not shots or image.crop(*box).difference(shots[-1].crop(*box)) > 0:
                shots.append(image)
            return len(shots)

        app.wait_image(progress_shown, "the progress text", timeout=120, interval=0.2)
        app.key("alt+F4")
        app.wait_image(lambda i: progress_shown(i) >= 2, "a new percentage", "large-save-progress",
                       timeout=120, interval=0.2)
        check(menu_before < 40 < darkest(shots[-1], (0, 0, 200, 18)), "the menu labels were not grayed")
        app.wait_title("Tavro - large.bin")
        time.sleep(0.5)
        check(not app.find_windows("Tavro") and app.process.poll() is None, "closing during the save was not ignored")
        check(os.path.getsize(path) == (1 << 30) + 1, "the saved file has %d bytes" % os.path.getsize(path))
        with open(path, "rb") as stream:
            check(stream.read(4) == b"\x00\x7e\x00\x00", "the inserted byte is not at offset 1")

    def test_selection_tools_then_close_without_saving(self):
        app, path, _ = self.open_data("tools", CONTENT)
        app.key("shift+Right", "shift+Right")  # " !\""
        # Edit > Copy As > C Array and Python, then Base64 and hex from the context menu.
        for press, keys, text in ((app.menu, ("e", "s", "c"), "unsigned char data[3] = {\n    0x20, 0x21, 0x22\n};"),
                                  (app.menu, ("e", "s", "p"), "b'\\x20\\x21\\x22'"),
                                  (app.key, ("shift+F10", "s", "b"), "ICEi"),
                                  (app.key, ("shift+F10", "s", "w"), "202122")):
            press(*keys)
            app.copied(text)

        app.key("ctrl+r", "shift+Right")
        app.menu("e", "f")  # Fill Selection...
        app.press_in("Fill Selection", Text("DE AD"), "Return")
        app.wait_title("Tavro - tools.bin *")
        app.key("ctrl+z", title="Tavro - tools.bin")  # one step
        app.key("ctrl+y", "Escape", "ctrl+End")
        app.menu("e", "i")  # Insert Bytes... before the last byte
        app.press_in("Insert Bytes", Text("0x100000"), "Return")
        app.press_in("Insert Bytes: Pattern", Text("AB"), "Return")
        app.key("ctrl+z", "ctrl+y")  # the insert is one step: the fill stays
        saved = b"\xDE\xAD\xDE\xAD" + CONTENT[4:-1] + b"\xAB" * (1 << 20) + CONTENT[-1:]
        self.save_and_expect(app, path, saved)
        app.key("ctrl+z")  # a save empties the history
        check(read(path) == saved, "the saved file changed after Ctrl+Z")

        app.key("ctrl+Home", Text("41"))  # the digests are of the document as edited
        edited = b"A" + saved[1:]
        app.wait_title("Tavro - tools.bin *")
        dialog = app.menu("t", "c", opens="Checksums")  # Tools > Checksums..., nothing selected: the whole document
        # The Copy buttons of CRC-32, SHA-256 and SHA-512.
        for keys, digest in ((("space",), "%08x" % zlib.crc32(edited)),
                             (("Tab", "Tab", "Tab", "space"), hashlib.sha256(edited).hexdigest()),
                             (("Tab", "space"), hashlib.sha512(edited).hexdigest())):
            app.key(*keys, window=dialog)
            app.copied(digest)
        app.screenshot("checksums", window=dialog, popup=True)
        app.press_in("Checksums", "Escape")

        app.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right")
        target = os.path.join(os.path.dirname(path), "part.bin")
        app.menu("f", "l")  # File > Save Selection As...
        app.press_in("Save Selection As", "ctrl+a", Text(windows_path(target)), "Return")
        wait_for(lambda: os.path.exists(target) and read(target), edited[:4], "the selection's file")
        only_files_left(path, "part.bin")  # no temporary file remains
        app.wait_title("Tavro - tools.bin *")

        app.key("alt+F4")
        app.press_in("Tavro", "n")  # No: the window closes without saving
        wait_for(lambda: app.process.poll() is not None, what="the program to end")
        check(read(path) == saved, "No changed the file")

    def test_search_history_across_a_restart_and_a_long_scan_stopped(self):
        app = self.app("search")
        path = app.data_file("long-scan.bin", ROWS * 3)
        os.truncate(path, 2 << 30)  # the rest is a hole; a whole scan takes far longer than the wait for the stop
        self.large_files.append(path)
        app.start(path)
        grid = self.calibrate(app)
        dialog = app.key("ctrl+f", opens="Find")
        app.key(Text("4 1 4"), "Return", window=dialog)  # an odd number of digits
        box = app.wait_box_over(dialog, "Find")
        # The red of the error icon (the information icon is blue).
        app.wait_image(lambda i: len(i.find(lambda c: c[0] > 180 and c[1] < 90 and c[2] < 90)) > 20,
                       "the red error icon", "search-invalid-hex", window=box, popup=True)
        app.key("Return", window=box)
        wait_for(lambda: app.find_windows("Find"), [dialog], "the box to close, the dialog to stay")
        check(app.settings()["searchHistory"] == [], "the refused query went into the history")
        app.press_in("Find", "Escape")

        dialog = app.key("ctrl+f", opens="Find")
        app.key(Text(ROWS_HEX), window=dialog)
        for offset in (18, 59, 100):  # Find Next from the caret, then from past the selection
            app.key("Return", window=dialog)
            self.wait_marked(app, grid, (offset // 16, offset % 16, 4), "a match")
        for offset in (59, 18):
            app.key("Tab", "space", window=dialog)  # Find Previous
            self.wait_marked(app, grid, (offset // 16, offset % 16, 4), "a match")
        check(app.find_windows("Find") == [dialog], "a message box came up")
        self.close_find_and_copy(app, ROWS_HEX)
        app.key(*TO_TEXT, Text("editor"), "Return", window=app.key("ctrl+f", opens="Find"))
        self.wait_marked(app, grid, (3, 3, 6), "the match at 51")
        history = [{"kind": "text", "query": "editor"}, {"kind": "hex", "query": ROWS_HEX}]
        app.wait_setting(history, "searchHistory")
        app.stop()

        app.start(path)
        grid = self.calibrate(app)
        dialog = app.key("ctrl+f", opens="Find")
        app.key("Down", "Return", window=dialog)  # the newest hexadecimal query
        self.wait_marked(app, grid, (1, 2, 4), "the match at 18")
        app.key(*TO_TEXT, "Down", "Return", window=dialog)  # the newest text query
        self.wait_marked(app, grid, (3, 3, 6), "the match at 51")
        check(app.settings()["searchHistory"] == history, "the history changed: %s" % app.settings())

        idle_extent = app.status_text_extent()
        # Hexadecimal again, a query never there: Horspool steps one byte over the zeros.
        app.key("shift+Tab", "Up", "Tab", Text("00 00 00 01"), "Return", window=dialog)
        # "Searching... N%" is far shorter than the offset, encoding and zoom.
        app.wait_image(lambda i: app.status_text_extent(i) < idle_extent / 2, "the progress", "search-running")
        app.key("Escape", window=dialog)
        pressed = time.monotonic()
        app.wait_image(lambda i: app.status_text_extent(i) > idle_extent / 2, "the stop", timeout=5, interval=0.05)
        print("  the scan stopped %.2f s after Escape" % (time.monotonic() - pressed))
        check(app.find_windows("Find") == [dialog], "a box came up or the dialog closed")
        self.wait_marked(app, grid, (3, 3, 6), "the match at 51")
        self.close_find_and_copy(app, EDITOR_HEX)

    @staticmethod
    def close_find_and_copy(app, expected):
        """Closes the search dialog with Escape and checks that Ctrl+C in the main window copies expected."""
        app.press_in("Find", "Escape")
        check(app.clipboard() != expected, "the clipboard holds %r already" % expected)
        app.key("ctrl+c")
        app.copied(expected)

    def test_replace_all_undo_search_again_and_marks(self):
        app, path, _ = self.open_data("replace", ROWS * 3)
        app.key("ctrl+r", "Insert")  # editing, and inserting: the replacements have other lengths
        for kind, query, replacement in (((), ROWS_HEX, "52 4F 57 53 21"), (TO_TEXT, "editor", "ED")):
            dialog = app.key("ctrl+h", opens="Replace")
            # The query, the replacement, then past Find Next and Replace: Replace All.
            app.key(*kind, Text(query), "Tab", Text(replacement), "Tab", "Tab", "Tab", "space", window=dialog)
            app.key("Return", window=app.wait_box_over(dialog, "Replace"))  # the count of replacements
            wait_for(lambda: app.find_windows("Replace"), [dialog], "the count's box to close")
            app.press_in("Replace", "Escape")
        app.key("ctrl+z")  # the whole text replacement is one step
        self.save_and_expect(app, path, ROWS.replace(b"rows", b"ROWS!") * 3)

        # F3 finds the active query again, without a dialog.
        app.key("ctrl+Home", "F3")
        # Copy again until the scan has ended: keys reach no window while it runs.
        wait_for(lambda: app.key("ctrl+c") or app.clipboard(), EDITOR_HEX, "F3 to select editor")
        check(not app.find_windows("Find"), "F3 opened the dialog")

        for _, _, rows in self.each_theme(app, MATCH, "matches", tolerance=23, minimum=100):
            check(max(rows) - min(rows) > 30, "matches marked on one row only: the three lie on three rows")

    @staticmethod
    def docked(app, window, side):
        """Fails unless window lies against the main window's side edge, at least as tall as its frame."""
        mx, my, mw, mh = app.geometry()
        x, y, w, h = app.geometry(window)
        gap = x - (mx + mw) if side == "right" else mx - (x + w)
        check(0 <= gap <= 12, "the window is %d px away from the main window's %s edge" % (gap, side))
        check(y <= my + 2 and y + h >= my + mh - 2, "it spans %d..%d, the main window %d..%d" % (y, y + h, my, my + mh))

    @staticmethod
    def copy_uint8(app, window):
        """Clicks the inspector's uint8 value (its second row) and copies it; returns the clipboard."""
        image = app.screenshot(window=window)
        header = image.find(lambda c: c == INSPECTOR_HEADER, (0, 0, image.width, 80))
        check(header, "no header band in the inspector")
        app.click_in(window, 250, header[0][1] + 38 + 36 * 3 // 2)  # the band is 38 pixels tall, a row 36
        app.key("ctrl+c", window=window)
        return app.clipboard()

    @staticmethod
    def struct_view(app, window):
        """A function that waits for the Struct View's table, as Ctrl+C copies it, to be accepted."""
        def text():
            app.click_in(window, 40, 20)  # the title: takes the focus, changes nothing
            app.key("ctrl+c", window=window)
            return (app.clipboard() or "").replace("\r\n", "\n")  # the X clipboard shows CR LF as LF
        return lambda accept, what: wait_for(text, accept, what, interval=0.5)

    @staticmethod
    def choose_pattern(app, window, name, title="Open Struct Pattern"):
        """Clicks Open and types the file name into the dialog, which starts in "patterns"."""
        app.click_in(window, -359, 23)
        app.press_in(title, Text(name), "Return")

    @staticmethod
    def activate_main(app):
        """Gives the main window the keyboard back with a click on its status bar."""
        app.click_in(None, app.geometry()[2] // 2, -8)

    def test_inspector_docked_following_a_held_key_and_closed(self):
        app = self.app("inspector", first_start=True)  # the default settings show the inspector
        app.start(app.data_file("inspector.bin", bytes([0x54, 0x41]) + bytes(i % 251 for i in range(2, 4096))))
        window = app.wait_window("Data Inspector")
        check(app.settings()["analysis"]["dataInspector"]["visible"] is True, "the inspector is not on by default")
        self.docked(app, window, "right")
        before = app.wait_image(lambda i: i.find(lambda c: c == INSPECTOR_HEADER), "the inspector", window=window)
        app.key("Right")  # to the byte 41
        app.wait_image(lambda i: i.difference(before) > 0.001, "new values", "inspector-at-41", window=window)
        self.copy_uint8(app, window)
        app.copied("0x41 / 65")

        self.activate_main(app)
        app.xdotool("key", "--clearmodifiers", "--repeat", "200", "--delay", "5", "Right")
        # The caret's byte shows in the status bar too; the inspector must end on the same one.
        wait_for(lambda: self.copy_uint8(app, window), "0xC9 / 201", "offset 201", timeout=30, interval=1)

        app.click_in(window, -14, 10)  # the close box at the right end of the caption
        app.wait_setting(False, "analysis", "dataInspector", "visible")
        app.wait_window_gone("Data Inspector")
        window = app.menu("s", "a", "i", opens="Data Inspector")
        app.wait_setting(True, "analysis", "dataInspector", "visible")
        self.docked(app, window, "right")

    def test_struct_view_patterns_and_saves_of_a_file_opened_by_a_relative_name(self):
        app = self.app("struct-view")
        shutil.copytree(os.path.join(self.app_dir, "patterns"), os.path.join(app.dir, "patterns"), dirs_exist_ok=True)
        path = write(os.path.join(app.dir, "relative.bin"), BMP)
        stray, kept = os.path.join(app.dir, "patterns", "relative.bin"), os.path.join(app.dir, "kept.bin")
        bad = write(os.path.join(app.dir, "patterns", "broken.tvsd"), b"struct Broken {\n    uint16_t a\n};\n")
        app.start("relative.bin")  # from its own folder with a bare name
        window = app.menu("s", "a", "s", opens="Struct View")
        view = self.struct_view(app, window)
        app.wait_setting(True, "analysis", "structView", "visible")
        self.docked(app, window, "left")
        view(lambda t: t == "Struct View\nDefinition: -\n\n" + EMPTY_MESSAGE, "the empty message")
        self.choose_pattern(app, window, "bmp.tvsd")  # the dialog browses the patterns folder
        view(bmp_table, "the BMP header table")
        app.screenshot("struct-view-bmp", window=window)

        # The value format button in the Value heading: Numbers, then Decimal.
        app.click_in(window, 310, 79)
        for key in ("Up", "Right", "Down", "Return"):
            app.xdotool("key", key)
        app.wait_setting("dec", "analysis", "structView", "numericBase")
        view(lambda t: "\n0x0\t19778\t2\t  bfType\n" in t and "\n0x12\t4\t4\t  biWidth\n" in t, "decimal values")
        self.activate_main(app)
        app.key("Right")  # the caret to offset 1: the struct follows it
        view(lambda t: "\n0x1\t\t14\tfile : BITMAPFILEHEADER\n" in t and "\n0x13\t" in t, "the rows at offset 1")

        self.choose_pattern(app, window, "broken.tvsd")
        text = view(lambda t: "\n\nThe struct pattern could not be loaded: " in t, "the load error")
        check(text.startswith("Struct View\nDefinition: broken.tvsd\n") and
              text.endswith("loaded: Line 2, Col 5: Unexpected tokens after declaration name.\n"
                            "    uint16_t a\n    ^"), "not the loader's message with its excerpt: %r" % text)
        self.activate_main(app)
        app.key("Left", "Right")  # moving the caret keeps the error in view
        view(lambda t: "could not be loaded" in t, "the error to stay")
        write(bad, b"struct Fixed {\n    uint16_t a;\n};\n")
        app.key("F5", window=window)
        view(lambda t: t.endswith("\n0x1\t17997\t2\ta"), "the fixed pattern's row (0x464D)")

        self.activate_main(app)
        app.key("ctrl+r", "ctrl+Home", "Insert", "4", "1", title="Tavro - relative.bin *")
        app.menu("f", "s", title="Tavro - relative.bin")
        check(read(path) == b"A" + BMP, "the file opened by its relative name did not get the byte")
        check(not os.path.exists(stray), "the save wrote a new file in the patterns folder")

        # Another program appends to the file: back in the window, Tavro offers to reload it.
        write(path, read(path) + b"outside")
        app.click_in(window, 0, 0)  # away to the Struct View, then back
        self.activate_main(app)
        app.press_in("Tavro", "n")  # keep what is shown
        app.key("4", "2", title="Tavro - relative.bin *")
        app.key("ctrl+s")  # refused: the file changed
        app.press_in("Tavro", "Return")
        check(read(path) == b"A" + BMP + b"outside", "the save wrote over the other program's change")
        # Save As keeps the edits in a new file, which the window then shows.
        app.key("ctrl+shift+s")
        app.press_in("Save As", "ctrl+a", Text("kept.bin"), "Return")
        app.wait_title("Tavro - kept.bin")
        check(read(kept) == b"AB" + BMP, "Save As did not write the edits")

    def test_portable_package(self):
        """Packaged by scripts/package, unzipped to a path with spaces and Japanese, run by a Japanese user."""
        result = subprocess.run([os.path.join(ROOT, "scripts", "package"), self.build_dir], capture_output=True,
                                text=True, timeout=600)
        match = re.search(r"^package: (.+\.zip) \((\d+) bytes\)$", result.stdout, re.MULTILINE)
        check(result.returncode == 0 and match, "scripts/package failed: %s%s" % (result.stdout, result.stderr))
        top = os.path.join(self.artifacts, "work", "portable package")
        shutil.rmtree(top, ignore_errors=True)
        folder = os.path.join(top, "Tavro ポータブル 版")
        with zipfile.ZipFile(match.group(1)) as package:
            package.extractall(folder)
        os.makedirs(os.path.join(top, "画像 ファイル"))
        bmp = write(os.path.join(top, "画像 ファイル", "見本.bmp"), BMP)

        # Wine takes the user locale from LANG only when the C library knows it: the locale is
        # compiled into the artifacts folder once.
        locales = os.path.join(self.artifacts, "locales")
        if not os.path.exists(os.path.join(locales, "ja_JP.UTF-8")):
            os.makedirs(locales, exist_ok=True)
            subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(locales, "ja_JP.UTF-8")],
                           capture_output=True, timeout=120)
        check(os.path.exists(os.path.join(locales, "ja_JP.UTF-8")), "localedef made no ja_JP.UTF-8 locale")
        wine = Wine(self.wine.prefix, self.wine.display, LANG="ja_JP.UTF-8", LC_ALL="", LOCPATH=locales)
        app = App(wine, None, folder, self.artifacts)  # as unzipped
        self.apps.append(app)
        check(not os.path.exists(app.settings_path), "the package holds a settings file")
        app.start(bmp)
        app.wait_setting("Japanese", "language")  # a first start, in Japanese; the file beside tavro.exe
        window = app.menu("s", "a", "s", opens="構造体ビュー")  # 設定(&S) > 解析(&A) > 構造体ビュー(&S)
        view = self.struct_view(app, window)
        self.choose_pattern(app, window, "bmp.tvsd", "構造体パターンを開く")  # 開く...
        view(lambda t: t.startswith("構造体ビュー\n") and "bmp.tvsd" in t.split("\n")[1] and
             "\n0x12\t0x00000004\t4\t  biWidth" in t, "the BMP header from the package's patterns")
        app.screenshot("package-struct-view", window=window)

        # The menu bar shown so far is not the English one: choosing English changes it.
        self.activate_main(app)
        japanese = app.screenshot("package-japanese-menus").crop(0, 0, 400, 18)
        app.menu("s", "l", "e")  # 設定(&S) > 言語 (Language)(&L) > English (英語)(&E)
        app.wait_setting("English", "language")
        app.wait_image(lambda i: i.crop(0, 0, 400, 18).difference(japanese) > 0.02, "the English menu bar")

        cli = subprocess.run(["wine", os.path.join(folder, "tavro-cli.exe"), "dump", windows_path(bmp), "--length",
                              "16"], cwd=folder, env=wine.env(), capture_output=True, timeout=120)
        check(cli.returncode == 0 and cli.stdout.decode().splitlines()[0] ==
              "00000000: 42 4D 46 00 00 00 00 00 00 00 36 00 00 00 28 00",
              "tavro-cli dump: %r %r" % (cli.stdout, cli.stderr))
