#!/usr/bin/env python3
"""GUI tests of tavro.exe under Wine and Xvfb.

Usage: run_gui_tests.py BUILD_DIR [CASE...]
BUILD_DIR is the windows preset's build folder (it holds app/tavro.exe). Screenshots go to
BUILD_DIR/e2e-artifacts; the Wine prefix is BUILD_DIR/wineprefix (the Windows tests' own), prepared
on first use.
Prints one line per case and closes with "N passed, N failed".
"""

import os
import sys
import time
import traceback

from edit_cases import EditCases
from harness import DARK_BLUE_SELECTION, App, Display, TestFailure, Wine, check, near, read, wait_for, wait_value, write
from package_cases import PackageCases
from search_cases import SearchCases
from selection_cases import SelectionCases
from side_window_cases import SideWindowCases
from view_cases import ViewCases

THEME_BACKGROUNDS = {"Light": (0xF6, 0xF4, 0xEF), "DarkBlue": (0x0D, 0x1B, 0x2A), "Black": (0x11, 0x11, 0x11)}


class Cases(ViewCases, EditCases, SearchCases, SelectionCases, SideWindowCases, PackageCases):
    """One method per user journey; the mixins share the helpers below."""

    def __init__(self, wine, build_dir, artifacts):
        self.wine = wine
        self.build_dir = build_dir
        self.app_dir = os.path.join(build_dir, "app")
        self.artifacts = artifacts
        self.files = os.path.join(artifacts, "files")
        os.makedirs(self.files, exist_ok=True)

    def file(self, name, content):
        return write(os.path.join(self.files, name), content)

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

    @staticmethod
    def each_theme(app):
        """Switches to each theme in turn, ending on DarkBlue; yields its name once the settings
        hold it."""
        for name, key in (("Light", "l"), ("Black", "b"), ("DarkBlue", "d")):
            app.menu("s", "t", key)
            wait_for(lambda: app.settings()["theme"] == name, what="settings theme %s" % name)
            yield name

    def rows_in_each_theme(self, app, colours, artifact, tolerance, minimum):
        """Switches through the three themes; in each, waits for more than minimum pixels of the hex
        area within tolerance of colours[theme] and keeps the screenshot. Returns the pixel rows
        they lie on, by theme."""
        rows = {}
        for name in self.each_theme(app):
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
        wait_value(lambda: self.caret_cell(app, grid), expected.__eq__, "the caret at %s" % (expected,))

    def click_offset(self, app, grid, offset):
        x, y, _, _ = app.geometry()
        app.click(x + int(grid[0] + (offset % 16) * grid[2] + 4), y + int(grid[1] + (offset // 16) * grid[3] + 4))

    def open_data(self, run, content, **settings):
        """A run on a fresh file of its own, the caret grid measured; (app, path, grid)."""
        app = self.app(run, **settings)
        path = app.data_file(run + ".bin", content)
        app.start(path)
        try:
            app.wait_title("Tavro - %s.bin" % run)
            grid = self.calibrate(app)
        except Exception:
            app.stop()
            raise
        return app, path, grid

    @staticmethod
    def save_and_expect(app, path, expected):
        app.key("ctrl+s")
        app.wait_title("Tavro - " + os.path.basename(path))
        wait_for(lambda: read(path) == expected, what="the saved bytes (now %r...)" % read(path)[:16])

    @staticmethod
    def copied(app, expected):
        """Waits for the clipboard to hold expected (Wine hands CR LF to X as it is or as LF)."""
        wait_value(lambda: (app.clipboard() or "").replace("\r\n", "\n"), expected.__eq__, "the clipboard %r" % expected)

    @staticmethod
    def status_changed(app, before, after, what):
        box = app.status_box(after)
        check(after.crop(*box).difference(before.crop(*box)) > 0.001, what + " did not change the status bar")


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
    wine = Wine(os.path.join(build_dir, "wineprefix"), display)
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
