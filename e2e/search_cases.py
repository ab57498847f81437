"""GUI journeys of the search dialog: the invalid-query box, next and previous matches, the
history kept across a restart, Escape stopping a long scan; and of replacing, searching again
with F3 and the matches marked on screen."""

import os
import time

from harness import DARK_BLUE_SELECTION, check, wait_for, wait_value

DIALOG_TITLE = "Find"
# The caret cell inside a selection is filled twice.
SELECTION_UNDER_CARET = tuple(round(0.45 * s + 0.55 * b) for s, b in zip((0x1F, 0x6F, 0xEB), DARK_BLUE_SELECTION))
ROWS = b"Tavro hex editor: rows of sixteen bytes.\n"
ROWS_HEX = "72 6F 77 73"  # "rows", at offsets 18, 59 and 100
EDITOR_HEX = "65 64 69 74 6F 72"  # "editor", at offsets 10, 51 and 92
REPLACE_TITLE = "Replace"
# The background of the active query's matches in each theme.
MATCH = {"Light": (0xFF, 0xE0, 0x8A), "DarkBlue": (0x5E, 0x4A, 0x0C), "Black": (0x57, 0x45, 0x00)}
LONG_SCAN_SIZE = 2 << 30  # sparse; a whole scan takes far longer than the wait for the stop


def colours_near(*colours, tolerance=4):
    """Every colour within tolerance of one of colours, for quick membership tests."""
    span = range(-tolerance, tolerance + 1)
    return {(r + i, g + j, b + k) for r, g, b in colours for i in span for j in span for k in span}


SELECTION_COLOURS = colours_near(DARK_BLUE_SELECTION, SELECTION_UNDER_CARET)


def error_red(colour):
    """The red of the error icon (the information icon is blue)."""
    return colour[0] > 180 and colour[1] < 90 and colour[2] < 90


class SearchCases:
    """Mixed into the runner's Cases: uses its app() and calibrate() helpers."""

    # --- helpers -------------------------------------------------------------------------------

    def open_search_dialog(self, app):
        app.key("ctrl+f")
        return app.wait_window(DIALOG_TITLE)

    @staticmethod
    def selection_cells(app, grid, rows=8):
        """(row on screen, first column, byte count) of a selection that lies within one of the
        first rows of hex cells."""
        left, top, pitch, height = grid
        box = (left - pitch // 2, top - height // 2, left + 16 * pitch, top + rows * height)
        cells = app.screenshot().find(lambda c: c in SELECTION_COLOURS, box)
        check(cells, "no selection on screen")
        first, top_y, last = min(p[0] for p in cells), min(p[1] for p in cells), max(p[0] for p in cells) + 1
        return round((top_y - top) / height), round((first - left) / pitch), round((last - first) / pitch)

    def wait_selection(self, app, grid, offset, length):
        expected = (offset // 16, offset % 16, length)
        wait_value(lambda: self.selection_cells(app, grid), expected.__eq__,
                   "the selection (row, column, bytes) %s" % (expected,))

    def close_dialog_and_copy(self, app, dialog, expected):
        """Closes the dialog with Escape and checks that Ctrl+C in the main window copies expected."""
        app.press_in(DIALOG_TITLE, "Escape")
        check(app.clipboard() != expected, "the clipboard holds %r already" % expected)
        app.key("ctrl+c")
        self.copied(app, expected)

    def replace_all(self, app, kind_keys, query, replacement):
        """Replace All through the replace dialog, the count it reports dismissed, the dialog closed."""
        app.key("ctrl+h")
        dialog = app.wait_window(REPLACE_TITLE)
        app.key(*kind_keys, window=dialog)
        app.type_text(query, window=dialog)
        app.key("Tab", window=dialog)  # the replacement
        app.type_text(replacement, window=dialog)
        app.key("Tab", "Tab", "Tab", "space", window=dialog)  # past Find Next and Replace: Replace All
        box = app.wait_box_over(dialog, REPLACE_TITLE)  # the count of replacements
        app.key("Return", window=box)
        wait_for(lambda: app.find_windows(REPLACE_TITLE) == [dialog], what="the count's box to close")
        app.key("Escape", window=dialog)
        app.wait_window_gone(REPLACE_TITLE)

    def test_search_history_across_a_restart_and_a_long_scan_stopped(self):
        path = self.file("long-scan.bin", ROWS * 3)
        os.truncate(path, LONG_SCAN_SIZE)  # the rest is a hole that reads as zeros
        app = self.app("search")
        app.start(path)
        try:
            grid = self.calibrate(app)
            dialog = self.open_search_dialog(app)
            app.type_text("4 1 4", window=dialog)  # an odd number of digits
            app.key("Return", window=dialog)
            box = app.wait_box_over(dialog, DIALOG_TITLE)
            wait_for(lambda: (lambda i: len(i.find(error_red)) > 20 and i)(app.window_image(box)),
                     what="the red error icon").save_png(os.path.join(self.artifacts, "search-invalid-hex.png"))
            app.key("Return", window=box)
            wait_for(lambda: app.find_windows(DIALOG_TITLE) == [dialog], what="the box to close, the dialog to stay")
            check(app.settings()["searchHistory"] == [], "the refused query went into the history")
            app.press_in(DIALOG_TITLE, "Escape")

            dialog = self.open_search_dialog(app)
            app.type_text(ROWS_HEX, window=dialog)
            for offset in (18, 59, 100):  # Find Next from the caret, then from past the selection
                app.key("Return", window=dialog)
                self.wait_selection(app, grid, offset, 4)
            for offset in (59, 18):
                app.key("Tab", "space", window=dialog)  # Find Previous
                self.wait_selection(app, grid, offset, 4)
            check(app.find_windows(DIALOG_TITLE) == [dialog], "a message box came up")
            self.close_dialog_and_copy(app, dialog, ROWS_HEX)
            dialog = self.open_search_dialog(app)
            app.key("shift+Tab", "Down", "Tab", window=dialog)  # the type list to "Text", back to the query
            app.type_text("editor", window=dialog)
            app.key("Return", window=dialog)
            self.wait_selection(app, grid, 51, 6)
            expected = [{"kind": "text", "query": "editor"}, {"kind": "hex", "query": ROWS_HEX}]
            wait_for(lambda: app.settings()["searchHistory"] == expected,
                     what="the history %s (now %s)" % (expected, app.settings()["searchHistory"]))
            app.stop()

            app.start(path)
            grid = self.calibrate(app)
            dialog = self.open_search_dialog(app)
            app.key("Down", "Return", window=dialog)  # the newest hexadecimal query
            self.wait_selection(app, grid, 18, 4)
            app.key("shift+Tab", "Down", "Tab", "Down", "Return", window=dialog)  # the newest text query
            self.wait_selection(app, grid, 51, 6)
            check(app.settings()["searchHistory"] == expected, "the history changed: %s" % app.settings())

            idle_extent = app.status_text_extent()
            app.key("shift+Tab", "Up", "Tab", window=dialog)  # hexadecimal again
            app.type_text("00 00 00 01", window=dialog)  # never there; Horspool steps one byte over zeros
            app.key("Return", window=dialog)
            # "Searching... N%" is far shorter than the offset, encoding and zoom.
            wait_for(lambda: app.status_text_extent() < idle_extent / 2, what="the search progress")
            app.screenshot("search-running")
            app.key("Escape", window=dialog)
            pressed = time.monotonic()
            wait_for(lambda: app.status_text_extent() > idle_extent / 2, timeout=5, interval=0.05,
                     what="the search to stop")
            print("  the scan stopped %.2f s after Escape" % (time.monotonic() - pressed))
            check(app.find_windows(DIALOG_TITLE) == [dialog], "a box came up or the dialog closed")
            self.wait_selection(app, grid, 51, 6)
            self.close_dialog_and_copy(app, dialog, EDITOR_HEX)
        finally:
            app.stop()
            os.remove(path)

    def test_replace_all_undo_search_again_and_marks(self):
        app, path, _ = self.open_data("replace", ROWS * 3)
        try:
            app.key("ctrl+r", "Insert")  # editing, and inserting: the replacements have other lengths
            self.replace_all(app, (), ROWS_HEX, "52 4F 57 53 21")  # "rows" by "ROWS!"
            self.replace_all(app, ("shift+Tab", "Down", "Tab"), "editor", "ED")  # as text
            app.key("ctrl+z")  # the whole text replacement is one step
            self.save_and_expect(app, path, ROWS.replace(b"rows", b"ROWS!") * 3)

            # F3 finds the active query again, without a dialog.
            app.key("ctrl+Home", "F3")
            # Copy again until the scan has ended: keys reach no window while it runs.
            wait_for(lambda: app.key("ctrl+c") or app.clipboard() == EDITOR_HEX,
                     what="F3 to select %s (now %r)" % (EDITOR_HEX, app.clipboard()))
            check(not app.find_windows(DIALOG_TITLE), "F3 opened the dialog")

            for rows in self.rows_in_each_theme(app, MATCH, "matches", tolerance=24, minimum=100).values():
                check(max(rows) - min(rows) > 30, "matches marked on one row only: the three lie on three rows")
        finally:
            app.stop()
