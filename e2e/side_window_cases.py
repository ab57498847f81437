"""GUI cases of the side windows docked beside the main window: the Data Inspector and the Struct View."""

import os

from harness import App, TestFailure, wait_for

INSPECTOR_TITLE = "Data Inspector"
INSPECTOR_HEADER = (0x2A, 0x47, 0x6E)  # the header band in the DarkBlue theme
INSPECTOR_HEADER_HEIGHT = 38
INSPECTOR_ROW_HEIGHT = 36
UINT8_ROW = 1


def check(condition, message):
    if not condition:
        raise TestFailure(message)


class SideWindowCases:
    """Mixed into the runner's Cases: uses its app() and _file() helpers."""

    # --- helpers -------------------------------------------------------------------------------

    @staticmethod
    def docked_right(app, window):
        """Fails unless window lies against the main window's right edge, as tall as its frame."""
        mx, my, mw, mh = app.geometry()
        x, y, w, h = app.geometry(window)
        check(0 <= x - (mx + mw) <= 12, "the window's left edge %d is not at the main window's right %d" % (x, mx + mw))
        check(y <= my and y + h >= my + mh, "the window spans %d..%d, the main window %d..%d" % (y, y + h, my, my + mh))

    @staticmethod
    def inspector_client_top(app, window):
        """The y of the inspector's header band inside its window image."""
        image = app.screenshot(window=window)
        points = image.find(lambda c: c == INSPECTOR_HEADER, (0, 0, image.width, 80))
        check(points, "no header band in the inspector")
        return min(p[1] for p in points)

    def copy_inspector_value(self, app, window, row):
        """Clicks the value of row and copies it with Ctrl+C; returns the clipboard text."""
        top = self.inspector_client_top(app, window)
        x, y, _, _ = app.geometry(window)
        app.click(x + 250, y + top + INSPECTOR_HEADER_HEIGHT + INSPECTOR_ROW_HEIGHT * row + INSPECTOR_ROW_HEIGHT // 2)
        app.xdotool("windowfocus", "--sync", window)
        app.xdotool("key", "--clearmodifiers", "ctrl+c")

    # --- cases ---------------------------------------------------------------------------------

    def test_inspector_docked_and_following_the_caret(self):
        app = App(self.wine, self.app_dir, os.path.join(self.artifacts, "work", "inspector"), self.artifacts)
        if os.path.exists(app.settings_path):
            os.remove(app.settings_path)  # a first start: the default settings show the inspector
        app.start(self._file("inspector.bin", bytes([0x54, 0x41]) + bytes(range(2, 64))))
        try:
            window = app.wait_window(INSPECTOR_TITLE)
            check(app.settings()["analysis"]["dataInspector"]["visible"] is True, "the inspector is not on by default")
            self.docked_right(app, window)
            before = wait_for(lambda: self.inspector_client_top(app, window) is not None and
                              app.screenshot(window=window), what="the inspector")
            app.key("Right")  # to the byte 41
            wait_for(lambda: app.screenshot(window=window).difference(before) > 0.001, what="new inspector values")
            app.screenshot("inspector-at-41", window=window)
            self.copy_inspector_value(app, window, UINT8_ROW)
            wait_for(lambda: app.clipboard() == "0x41 / 65", what="clipboard '0x41 / 65' (now %r)" % app.clipboard())
        finally:
            app.stop()

    def test_inspector_keeps_up_with_a_held_key(self):
        app = self.app("inspector-burst", inspector=True)
        app.start(self.large)
        try:
            window = app.wait_window(INSPECTOR_TITLE)
            app.focus()
            app.xdotool("key", "--clearmodifiers", "--repeat", "200", "--delay", "5", "Right")
            expected = "0x%02X / %d" % (200 % 251, 200 % 251)
            # The caret's byte shows in the status bar too; the inspector must end on the same one.
            wait_for(lambda: self.copy_inspector_value(app, window, UINT8_ROW) or app.clipboard() == expected,
                     timeout=30, interval=1, what="the inspector at offset 200 (clipboard %r)" % app.clipboard())
        finally:
            app.stop()

    def test_inspector_close_box_and_menu(self):
        app = self.app("inspector-close", inspector=True)
        app.start(self.small)
        try:
            window = app.wait_window(INSPECTOR_TITLE)
            x, y, width, _ = app.geometry(window)
            app.click(x + width - 14, y + 10)  # the close box at the right end of the caption
            wait_for(lambda: app.settings()["analysis"]["dataInspector"]["visible"] is False,
                     what="the settings file to say the inspector is hidden")
            app.wait_window_gone(INSPECTOR_TITLE)
            app.menu("s", "a", "i")
            window = app.wait_window(INSPECTOR_TITLE)
            wait_for(lambda: app.settings()["analysis"]["dataInspector"]["visible"] is True,
                     what="the settings file to say the inspector is shown")
            self.docked_right(app, window)
        finally:
            app.stop()
