"""GUI cases of the side windows docked beside the main window: the Data Inspector and the Struct View."""

import os
import shutil
import struct

from harness import App, check, read, wait_for, wait_value, write

INSPECTOR_TITLE = "Data Inspector"
INSPECTOR_HEADER = (0x2A, 0x47, 0x6E)  # the header band in the DarkBlue theme
INSPECTOR_HEADER_HEIGHT = 38
INSPECTOR_ROW_HEIGHT = 36
UINT8_ROW = 1

STRUCT_VIEW_TITLE = "Struct View"
PATTERN_DIALOG_TITLE = "Open Struct Pattern"
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


class SideWindowCases:
    """Mixed into the runner's Cases."""

    # --- helpers -------------------------------------------------------------------------------

    @staticmethod
    def docked(app, window, side):
        """Fails unless window lies against the main window's "left" or "right" edge, at least as
        tall as the main window's frame."""
        mx, my, mw, mh = app.geometry()
        x, y, w, h = app.geometry(window)
        gap = x - (mx + mw) if side == "right" else mx - (x + w)
        check(0 <= gap <= 12, "the window is %d px away from the main window's %s edge" % (gap, side))
        check(y <= my + 2 and y + h >= my + mh - 2, "the window spans %d..%d, the main window %d..%d" %
              (y, y + h, my, my + mh))

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

    @staticmethod
    def struct_view_text(app, window):
        """The Struct View's table as Ctrl+C copies it (the X clipboard shows CR LF as LF)."""
        x, y, _, _ = app.geometry(window)
        app.click(x + 40, y + 20)  # the title: takes the focus, changes nothing
        app.key("ctrl+c", window=window)
        return (app.clipboard() or "").replace("\r\n", "\n")

    def wait_struct_view_text(self, app, window, expected, what):
        return wait_value(lambda: self.struct_view_text(app, window), expected, what, interval=0.5)

    @staticmethod
    def choose_pattern(app, window, name, title=PATTERN_DIALOG_TITLE):
        """Clicks Open and types the file name into the dialog, which starts in "patterns"."""
        x, y, width, _ = app.geometry(window)
        app.click(x + width - 404 + 45, y + 23)
        dialog = app.wait_window(title)
        app.type_text(name, window=dialog)
        app.key("Return", window=dialog)
        app.wait_window_gone(title)

    @staticmethod
    def activate_main(app):
        """Gives the main window the keyboard back with a click on its status bar."""
        x, y, width, height = app.geometry()
        app.click(x + width // 2, y + height - 8)

    def struct_view_app(self, name, struct_view=False):
        app = self.app(name, struct_view=struct_view)
        shutil.copytree(os.path.join(self.app_dir, "patterns"), os.path.join(app.dir, "patterns"), dirs_exist_ok=True)
        return app

    def test_inspector_docked_following_a_held_key_and_closed(self):
        app = App(self.wine, self.app_dir, os.path.join(self.artifacts, "work", "inspector"), self.artifacts)
        if os.path.exists(app.settings_path):
            os.remove(app.settings_path)  # a first start: the default settings show the inspector
        app.start(self.file("inspector.bin", bytes([0x54, 0x41]) + bytes(i % 251 for i in range(2, 4096))))
        try:
            window = app.wait_window(INSPECTOR_TITLE)
            check(app.settings()["analysis"]["dataInspector"]["visible"] is True, "the inspector is not on by default")
            self.docked(app, window, "right")
            before = wait_for(lambda: self.inspector_client_top(app, window) is not None and
                              app.screenshot(window=window), what="the inspector")
            app.key("Right")  # to the byte 41
            wait_for(lambda: app.screenshot(window=window).difference(before) > 0.001, what="new inspector values")
            app.screenshot("inspector-at-41", window=window)
            self.copy_inspector_value(app, window, UINT8_ROW)
            self.copied(app, "0x41 / 65")

            self.activate_main(app)
            app.xdotool("key", "--clearmodifiers", "--repeat", "200", "--delay", "5", "Right")
            # The caret's byte shows in the status bar too; the inspector must end on the same one.
            wait_for(lambda: self.copy_inspector_value(app, window, UINT8_ROW) or app.clipboard() == "0xC9 / 201",
                     timeout=30, interval=1, what="the inspector at offset 201 (clipboard %r)" % app.clipboard())

            x, y, width, _ = app.geometry(window)
            app.click(x + width - 14, y + 10)  # the close box at the right end of the caption
            wait_for(lambda: app.settings()["analysis"]["dataInspector"]["visible"] is False,
                     what="the settings file to say the inspector is hidden")
            app.wait_window_gone(INSPECTOR_TITLE)
            app.menu("s", "a", "i")
            window = app.wait_window(INSPECTOR_TITLE)
            wait_for(lambda: app.settings()["analysis"]["dataInspector"]["visible"] is True,
                     what="the settings file to say the inspector is shown")
            self.docked(app, window, "right")
        finally:
            app.stop()

    def test_struct_view_patterns_and_saves_of_a_file_opened_by_a_relative_name(self):
        app = self.struct_view_app("struct-view")
        path = write(os.path.join(app.dir, "relative.bin"), BMP)
        stray, kept = os.path.join(app.dir, "patterns", "relative.bin"), os.path.join(app.dir, "kept.bin")
        for left in (stray, kept):  # by an earlier run
            if os.path.exists(left):
                os.remove(left)
        bad = write(os.path.join(app.dir, "patterns", "broken.tvsd"), b"struct Broken {\n    uint16_t a\n};\n")
        app.start("relative.bin")  # from its own folder with a bare name
        try:
            app.wait_title("Tavro - relative.bin")
            app.menu("s", "a", "s")
            window = app.wait_window(STRUCT_VIEW_TITLE)
            wait_for(lambda: app.settings()["analysis"]["structView"]["visible"] is True,
                     what="the settings file to say the Struct View is shown")
            self.docked(app, window, "left")
            self.wait_struct_view_text(app, window, lambda t: t == "Struct View\nDefinition: -\n\n" + EMPTY_MESSAGE,
                                       "the empty message")
            self.choose_pattern(app, window, "bmp.tvsd")  # the dialog browses the patterns folder
            self.wait_struct_view_text(app, window, bmp_table, "the BMP header table")
            app.screenshot("struct-view-bmp", window=window)

            # The value format button in the Value heading: Numbers, then Decimal.
            x, y, _, _ = app.geometry(window)
            app.click(x + 310, y + 79)
            for key in ("Up", "Right", "Down", "Return"):
                app.xdotool("key", key)
            wait_for(lambda: app.settings()["analysis"]["structView"]["numericBase"] == "dec",
                     what="the settings file to say decimal")
            self.wait_struct_view_text(app, window, lambda t: "\n0x0\t19778\t2\t  bfType\n" in t and
                                       "\n0x12\t4\t4\t  biWidth\n" in t, "decimal values")
            self.activate_main(app)
            app.key("Right")  # the caret to offset 1: the struct follows it
            self.wait_struct_view_text(app, window, lambda t: "\n0x1\t\t14\tfile : BITMAPFILEHEADER\n" in t and
                                       "\n0x13\t" in t, "the rows at offset 1")

            self.choose_pattern(app, window, "broken.tvsd")
            text = self.wait_struct_view_text(app, window, lambda t: "\n\nThe struct pattern could not be loaded: " in t
                                              and t, "the load error")
            check(text.startswith("Struct View\nDefinition: broken.tvsd\n") and
                  text.endswith("loaded: Line 2, Col 5: Unexpected tokens after declaration name.\n"
                                "    uint16_t a\n    ^"), "not the loader's message with its excerpt: %r" % text)
            self.activate_main(app)
            app.key("Left", "Right")  # moving the caret keeps the error in view
            self.wait_struct_view_text(app, window, lambda t: "could not be loaded" in t, "the error to stay")
            write(bad, b"struct Fixed {\n    uint16_t a;\n};\n")
            app.key("F5", window=window)
            self.wait_struct_view_text(app, window, lambda t: t.endswith("\n0x1\t17997\t2\ta"),
                                       "the fixed pattern's row (0x464D)")

            self.activate_main(app)
            app.key("ctrl+r", "ctrl+Home", "Insert", "4", "1")
            app.wait_title("Tavro - relative.bin *")
            app.menu("f", "s")
            app.wait_title("Tavro - relative.bin")
            check(read(path) == b"A" + BMP, "the file opened by its relative name did not get the byte")
            check(not os.path.exists(stray), "the save wrote a new file in the patterns folder")

            # Another program appends to the file: back in the window, Tavro offers to reload it.
            with open(path, "ab") as out:
                out.write(b"outside")
            app.click(*app.geometry(window)[:2])  # away to the Struct View, then back
            self.activate_main(app)
            app.key("n", window=app.wait_window("Tavro"))  # keep what is shown
            app.wait_window_gone("Tavro")
            app.key("4", "2")
            app.wait_title("Tavro - relative.bin *")
            app.key("ctrl+s")  # refused: the file changed
            app.press_in("Tavro", "Return")
            check(read(path) == b"A" + BMP + b"outside", "the save wrote over the other program's change")
            # Save As keeps the edits in a new file, which the window then shows.
            app.key("ctrl+shift+s")
            dialog = app.wait_window("Save As")
            app.key("ctrl+a", window=dialog)
            app.type_text("kept.bin", window=dialog)
            app.key("Return", window=dialog)
            app.wait_title("Tavro - kept.bin")
            check(read(kept) == b"AB" + BMP, "Save As did not write the edits")
        finally:
            app.stop()
