#!/usr/bin/env python3
"""GUI tests of tavro.exe under Wine and Xvfb.

Usage: run_gui_tests.py BUILD_DIR [CASE...]
BUILD_DIR is the windows preset's build folder (it holds app/tavro.exe). Screenshots go to
BUILD_DIR/e2e-artifacts; the Wine prefix is BUILD_DIR/e2e-wineprefix, prepared on first use.
Prints one line per case and closes with "N passed, N failed".
"""

import os
import sys
import time
import traceback

from edit_cases import EditCases
from file_cases import FileCases
from harness import App, Display, TestFailure, Wine, wait_for
from package_cases import PackageCases
from search_cases import SearchCases
from selection_cases import SelectionCases
from side_window_cases import SideWindowCases

THEME_BACKGROUNDS = {"Light": (0xF6, 0xF4, 0xEF), "DarkBlue": (0x0D, 0x1B, 0x2A), "Black": (0x11, 0x11, 0x11)}
# The overwrite caret's fill: the selection colour at its alpha over the DarkBlue background.
DARK_BLUE_SELECTION = tuple(round(0.45 * s + 0.55 * b) for s, b in zip((0x1F, 0x6F, 0xEB), (0x0D, 0x1B, 0x2A)))
FLASH_RED = (180, 32, 32)
SMALL_CONTENT = b"Tavro hex editor: rows of sixteen bytes.\n" * 3


def near(colour, expected, tolerance=4):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def check(condition, message):
    if not condition:
        raise TestFailure(message)


class Cases(SideWindowCases, FileCases, SearchCases, PackageCases, EditCases, SelectionCases):
    def __init__(self, wine, build_dir, artifacts):
        self.wine = wine
        self.app_dir = os.path.join(build_dir, "app")
        self.artifacts = artifacts
        self.files = os.path.join(artifacts, "files")
        os.makedirs(self.files, exist_ok=True)
        self.small = self._file("small.bin", SMALL_CONTENT)
        self.large = self._file("large.bin", bytes(i % 251 for i in range(4096)))

    def _file(self, name, content):
        path = os.path.join(self.files, name)
        with open(path, "wb") as out:
            out.write(content)
        return path

    def app(self, name, theme="DarkBlue", language="English", encoding="Ascii", inspector=False, struct_view=False):
        app = App(self.wine, self.app_dir, os.path.join(self.artifacts, "work", name), self.artifacts)
        app.write_settings(theme, language, encoding, inspector, struct_view)
        return app

    # --- helpers on the hex view's pixels --------------------------------------------------

    @staticmethod
    def hex_area(app, image, theme="DarkBlue"):
        """The bounding box of the hex view's background colour."""
        background = THEME_BACKGROUNDS[theme]
        points = image.find(lambda c: c == background, (0, 0, image.width, image.height - 22))
        check(points, "no pixel of the %s background" % theme)
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        return min(xs), min(ys), max(xs) + 1, max(ys) + 1

    def rows_in_each_theme(self, app, colours, artifact, tolerance, minimum):
        """Switches through the three themes; in each, waits for more than minimum pixels of the hex
        area within tolerance of colours[theme] and keeps the screenshot. Returns the pixel rows
        they lie on, by theme."""
        rows = {}
        for name, key in (("DarkBlue", "d"), ("Light", "l"), ("Black", "b")):
            app.menu("s", "t", key)
            wait_for(lambda: app.settings()["theme"] == name, what="settings theme %s" % name)

            def found():
                image = app.screenshot()
                box = self.hex_area(app, image, name)
                points = image.find(lambda c: sum(abs(a - b) for a, b in zip(c, colours[name])) < tolerance, box)
                return len(points) > minimum and (image, points)

            image, points = wait_for(found, what="%s in the %s colour" % (artifact, name))
            image.save_png(os.path.join(self.artifacts, "%s-%s.png" % (artifact, name)))
            rows[name] = {y for _, y in points}
        return rows

    def caret_box(self, app, image):
        """The hex cell of the overwrite caret: (left, top, right, bottom) of its fill."""
        box = self.hex_area(app, image)
        points = image.find(lambda c: near(c, DARK_BLUE_SELECTION), box)
        check(points, "no caret on screen")
        xs = sorted({p[0] for p in points})
        # The hex cell comes first; the text cell lies after a gap.
        end = next((a for a, b in zip(xs, xs[1:]) if b - a > 8), xs[-1])
        cell = [p for p in points if p[0] <= end]
        return (min(p[0] for p in cell), min(p[1] for p in cell), max(p[0] for p in cell) + 1,
                max(p[1] for p in cell) + 1)

    def calibrate(self, app):
        """The caret grid: (left, top, byte pitch, row height) in window pixels, measured by moving
        the caret from offset 0 one byte right and one row down, and back."""
        first = wait_for(lambda: self.caret_box(app, app.screenshot()), what="the caret")
        app.key("Right")
        right = wait_for(lambda: (lambda b: b[0] > first[0] and b)(self.caret_box(app, app.screenshot())),
                         what="the caret one byte right")
        app.key("Left", "Down")
        down = wait_for(lambda: (lambda b: b[1] > first[1] and b)(self.caret_box(app, app.screenshot())),
                        what="the caret one row down")
        app.key("Up")
        wait_for(lambda: self.caret_box(app, app.screenshot()) == first, what="the caret back at offset 0")
        return first[0], first[1], right[0] - first[0], down[1] - first[1]

    def caret_cell(self, app, grid, image=None):
        """(row on screen, column) of the caret."""
        left, top, _, _ = self.caret_box(app, image or app.screenshot())
        return round((top - grid[1]) / grid[3]), round((left - grid[0]) / grid[2])

    def wait_caret(self, app, grid, expected):
        seen = []
        try:
            wait_for(lambda: seen.append(self.caret_cell(app, grid)) or seen[-1] == expected,
                     what="caret at %s" % (expected,))
        except TestFailure:
            raise TestFailure("caret at %s, expected %s" % (seen[-1] if seen else None, expected))

    def click_offset(self, app, grid, offset):
        x, y, _, _ = app.geometry()
        app.click(x + int(grid[0] + (offset % 16) * grid[2] + 4), y + int(grid[1] + (offset // 16) * grid[3] + 4))

    # --- cases -------------------------------------------------------------------------------

    def test_start_without_file(self):
        app = self.app("no-file")
        app.start()
        try:
            app.wait_title("Tavro")
            image = app.screenshot("no-file")
            extent = app.status_text_extent(image)
            # "No file open" is short; the view summary runs several hundred pixels.
            check(0 < extent < 160, "status text reaches %d px, not the short no-file text" % extent)
        finally:
            app.stop()

    def test_start_with_file(self):
        app = self.app("with-file")
        app.start(self.small)
        try:
            app.wait_title("Tavro - small.bin")
            extent = app.status_text_extent(app.screenshot("with-file"))
            check(extent > 300, "status text reaches only %d px" % extent)
            check(app.settings()["recentFiles"][0].endswith("small.bin"), "the file is not in the recent list")
        finally:
            app.stop()

    def test_keys_move_the_caret(self):
        app = self.app("caret-keys")
        app.start(self.large)
        try:
            origin = self.calibrate(app)
            status_before = app.screenshot()
            app.key("Right", "Right", "Down")
            self.wait_caret(app, origin, (1, 2))
            app.key("Left")
            self.wait_caret(app, origin, (1, 1))
            image = app.screenshot("caret-moved")
            box = app.status_box(image)
            check(image.crop(*box).difference(status_before.crop(*box)) > 0.001, "status offset did not change")
            app.key("Next")  # Page Down: the caret moves a page and the view follows
            rows_on_screen, column = wait_for(lambda: (lambda c: c[0] > 10 and c)(self.caret_cell(app, origin)),
                                              what="the caret a page lower")
            check(column == 1, "Page Down moved the caret to column %d" % column)
            app.key("ctrl+End")
            wait_for(lambda: self.caret_cell(app, origin)[1] == 15, what="caret in the last column")
            image = app.screenshot("caret-end")
            area, box = self.hex_area(app, image), self.caret_box(app, image)
            check(area[3] - box[3] < 2 * origin[3], "Ctrl+End did not scroll to the last row")
            app.key("ctrl+Home")
            self.wait_caret(app, origin, (0, 0))
        finally:
            app.stop()

    def test_click_and_copy(self):
        app = self.app("click-copy")
        app.start(self.small)
        try:
            origin = self.calibrate(app)
            expected = "%02X" % SMALL_CONTENT[17]
            check(app.clipboard() != expected, "the clipboard holds %r already" % expected)
            self.click_offset(app, origin, 17)
            app.key("ctrl+c")
            wait_for(lambda: app.clipboard() == expected, what="clipboard %r (now %r)" % (expected, app.clipboard()))
            app.screenshot("click-copy")
        finally:
            app.stop()

    def test_read_only_digit_flashes_red(self):
        app = self.app("read-only-flash")
        app.start(self.small)
        try:
            wait_for(lambda: self.caret_box(app, app.screenshot()), what="the caret")
            app.key("a")

            def red():
                image = app.screenshot()
                left, top, right, bottom = app.status_box(image)
                return near(image.pixel(right - 10, bottom - 4), FLASH_RED) and image

            image = wait_for(red, timeout=3, interval=0.05, what="the red read-only notice")
            image.save_png(os.path.join(self.artifacts, "read-only-flash.png"))
            wait_for(lambda: not red(), timeout=5, what="the notice to end")
            check(app.title() == "Tavro - small.bin", "the document changed: %r" % app.title())
        finally:
            app.stop()

    def test_edit_after_ctrl_r(self):
        app = self.app("edit")
        app.start(self.small)
        try:
            origin = self.calibrate(app)
            app.key("ctrl+r")
            app.type_text("41")
            app.wait_title("Tavro - small.bin *")
            check(app.clipboard() != "41", "the clipboard holds 41 already")
            self.click_offset(app, origin, 0)
            app.key("ctrl+c")
            wait_for(lambda: app.clipboard() == "41", what="clipboard 41 (now %r)" % app.clipboard())
            app.screenshot("edited")
        finally:
            app.stop()

    def test_themes_paint_and_save(self):
        app = self.app("themes")
        app.start(self.small)
        try:
            for name, key in (("Light", "l"), ("Black", "b"), ("DarkBlue", "d")):
                app.menu("s", "t", key)
                wait_for(lambda: app.settings()["theme"] == name, what="settings theme %s" % name)

                def painted():
                    image = app.screenshot()
                    area = self.hex_area(app, image, name)
                    return (area[2] - area[0]) * (area[3] - area[1]) > 100_000 and image

                image = wait_for(painted, what="the %s background" % name)
                image.save_png(os.path.join(self.artifacts, "theme-%s.png" % name))
                if name != "Light":  # Light uses the system's button face colour
                    left, top, right, bottom = app.status_box(image)
                    status = image.pixel(left + 2, bottom - 3)
                    check(near(status, {"Black": (17, 17, 17), "DarkBlue": (13, 27, 42)}[name]),
                          "status bar %s in theme %s" % (status, name))
        finally:
            app.stop()

    def test_japanese_menus(self):
        app = self.app("japanese")
        app.start(self.small)
        try:
            english = app.screenshot("menu-english").crop(0, 0, 400, 40)
            app.menu("s", "l", "j")
            wait_for(lambda: app.settings()["language"] == "Japanese", what="settings language Japanese")
            wait_for(lambda: app.screenshot().crop(0, 0, 400, 40).difference(english) > 0.02,
                     what="the menu bar to change")
            app.screenshot("menu-japanese")
        finally:
            app.stop()

    def test_ctrl_wheel_zooms(self):
        app = self.app("zoom")
        app.start(self.small)
        try:
            origin = wait_for(lambda: self.caret_box(app, app.screenshot()), what="the caret")
            before = app.screenshot("zoom-before")
            x, y, _, _ = app.geometry()
            app.wheel_with_ctrl(x + origin[0] + 200, y + origin[1] + 100)

            def grown():
                box = self.caret_box(app, app.screenshot())
                return box[3] - box[1] > origin[3] - origin[1] + 1 and box

            wait_for(grown, what="larger rows")
            after = app.screenshot("zoom-after")
            status = app.status_box(after)
            check(after.crop(*status).difference(before.crop(*status)) > 0.001, "the status zoom did not change")
        finally:
            app.stop()

    def test_utf8_japanese_sample(self):
        sample = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples", "sample-utf8.txt")
        app = self.app("utf8-sample", encoding="Utf8")
        app.start(sample)
        try:
            app.wait_title("Tavro - sample-utf8.txt")
            # Font fallback for the Japanese glyphs makes the first paints slow: wait until the
            # view has drawn its background and two screenshots agree, then keep the picture for a
            # person to look at.
            shots = [app.screenshot()]
            wait_for(lambda: shots.append(app.screenshot()) or
                     (shots[-1].difference(shots[-2]) == 0 and self.hex_area(app, shots[-1])),
                     interval=0.5, what="the view to settle")
            shots[-1].save_png(os.path.join(self.artifacts, "utf8-sample.png"))
            box = self.hex_area(app, shots[-1])
            glyphs = shots[-1].find(lambda c: c[0] > 200 and c[1] > 200, box)
            check(len(glyphs) > 5000, "the rows show only %d glyph pixels" % len(glyphs))
        finally:
            app.stop()


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    build_dir = os.path.abspath(argv[1])
    wanted = argv[2:]
    exe = os.path.join(build_dir, "app", "tavro.exe")
    if not os.path.exists(exe):
        print("gui: %s is missing; build the windows preset first" % exe)
        print("0 passed, 1 failed")
        return 1
    artifacts = os.path.join(build_dir, "e2e-artifacts")
    os.makedirs(artifacts, exist_ok=True)

    display = Display()
    display.start()
    wine = Wine(os.path.join(build_dir, "e2e-wineprefix"), display)
    passed = failed = 0
    try:
        wine.prepare()
        cases = Cases(wine, build_dir, artifacts)
        names = [n for n in sorted(dir(cases)) if n.startswith("test_") and (not wanted or n[5:] in wanted)]
        for name in names:
            # Wine under Xvfb is slow and busy machines make it slower: a case that fails is
            # run once more on a clean slate, and both outcomes are printed.
            for attempt in (1, 2):
                started = time.monotonic()
                try:
                    getattr(cases, name)()
                    passed += 1
                    print("PASS %s (%.1f s)%s" % (name[5:], time.monotonic() - started,
                                                  " on the second attempt" if attempt == 2 else ""), flush=True)
                    break
                except Exception as error:  # a case's failure must not stop the others
                    print("%s %s: %s" % ("FAIL" if attempt == 2 else "RETRY", name[5:], error), flush=True)
                    if not isinstance(error, TestFailure):
                        traceback.print_exc()
                    # Whatever the case left running must not meet the next one.
                    wine.stop()
                    wine.prepare()
                    if attempt == 2:
                        failed += 1
    finally:
        wine.stop()
        display.stop()
    print("screenshots: %s" % artifacts)
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
