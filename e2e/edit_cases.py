"""GUI journeys of editing and saving: typing, undo and redo, Shift selection, copy and
hexadecimal paste in both modes, typing in the text column, changed bytes in their colour, saves
in place and through a temporary file, a save that fails, the unsaved-changes question, and a
large save with its progress."""

import os
import subprocess
import time

from harness import check, read, wait_for

CONTENT = bytes(range(32, 127)) * 8  # 760 bytes
# The changed-byte text colour of each theme.
CHANGED = {"Light": (0xC6, 0x28, 0x28), "DarkBlue": (0xFF, 0xB4, 0x54), "Black": (0xFF, 0xD0, 0x4A)}
LARGE_SAVE_SIZE = 1 << 30
SAVE_TIMEOUT = 120
MENU_BAR = (0, 0, 200, 18)  # the labels File to Help


class Immutable:
    """Makes a file unwritable for everyone, root and so Wine included (chattr +i), for the
    duration of a with block."""

    def __init__(self, path):
        self.path = path

    def __enter__(self):
        result = subprocess.run(["chattr", "+i", self.path], capture_output=True, text=True)
        check(result.returncode == 0, "chattr +i failed (%s); the file system must support it" % result.stderr.strip())
        return self

    def __exit__(self, *exc):
        subprocess.run(["chattr", "-i", self.path], capture_output=True)


def text_lines(image, left, right, bottom):
    """The bands of rows between left and right, above bottom, that hold dark text pixels."""
    rows = sorted({y for _, y in image.find(lambda c: max(c) < 90, (left, 0, right, bottom))})
    return sum(1 for a, b in zip([-2] + rows, rows) if b - a > 1)


def darkest(image, box):
    return min(min(image.pixel(x, y)) for x in range(box[0], box[2]) for y in range(box[1], box[3]))


class EditCases:
    """Mixed into the runner's Cases."""

    @staticmethod
    def set_clipboard(app, text):
        # xclip keeps serving the selection in the background until another owner takes it.
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode(), check=True, timeout=10,
                       env={"DISPLAY": app.display})
        wait_for(lambda: app.clipboard() == text, what="the X clipboard to hold %r" % text)

    @staticmethod
    def only_file_left(path):
        left = os.listdir(os.path.dirname(path))
        check(left == [os.path.basename(path)], "files left beside the saved one: %s" % left)

    def test_edit_undo_paste_and_save_until_the_window_closes(self):
        app, path, _ = self.open_data("edit", CONTENT)
        try:
            app.key("ctrl+r")
            app.type_text("4142")  # two bytes, two steps
            app.wait_title("Tavro - edit.bin *")
            app.key("ctrl+z", "ctrl+z")  # back to the saved bytes: no " *"
            app.wait_title("Tavro - edit.bin")
            app.key("ctrl+y")
            app.wait_title("Tavro - edit.bin *")
            app.menu("e", "d")  # Edit > Redo
            expected = b"AB" + CONTENT[2:]
            self.save_and_expect(app, path, expected)  # in place
            self.only_file_left(path)
            app.key("ctrl+z", "Right")  # a save empties the history
            app.wait_title("Tavro - edit.bin")

            app.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right", "ctrl+c")
            self.copied(app, "41 42 22 23")
            app.key("Escape", "ctrl+Home")
            self.set_clipboard(app, "DE AD\r\n0xBE 0xEF")
            app.key("ctrl+v")  # overwrites at 0, the caret after it
            app.key("Insert", "ctrl+v")  # inserted at 4
            app.key("shift+Right", "ctrl+v")  # replaces the bytes at 8 and 9
            expected = bytes.fromhex("DEADBEEF") * 3 + expected[6:]
            self.save_and_expect(app, path, expected)  # through a temporary file
            self.only_file_left(path)

            app.key("Insert", "ctrl+Home", "Tab")  # overwriting, in the text column
            app.type_text("Hi")
            app.menu("s", "e", "l")  # UTF-16 LE
            wait_for(lambda: app.settings()["encoding"] == "Utf16Le", what="settings encoding Utf16Le")
            app.type_text("Hi")
            for rows in self.rows_in_each_theme(app, CHANGED, "changed", tolerance=60, minimum=20).values():
                # Only the first row's first six cells (and their text cells) are changed.
                check(max(rows) - min(rows) < 30, "changed colour on rows %d to %d" % (min(rows), max(rows)))
            expected = b"HiH\0i\0" + expected[6:]
            self.save_and_expect(app, path, expected)

            app.type_text("A")
            app.wait_title("Tavro - edit.bin *")
            with Immutable(path):
                app.menu("f", "s")
                box = app.wait_window("Tavro")
                # The error text, a blank line and the system's reason: two lines of text right
                # of the icon, above the OK button.
                image = wait_for(lambda: (lambda i: text_lines(i, 48, i.width - 4, i.height - 40) >= 2 and i)(
                    app.window_image(box)), what="the error text and the system's reason")
                image.save_png(os.path.join(self.artifacts, "save-failed.png"))
                app.press_in("Tavro", "Return")
                check(app.title() == "Tavro - edit.bin *", "the title lost its mark: %r" % app.title())
            check(read(path) == expected, "the failed save changed the file")

            app.key("alt+F4")
            app.press_in("Tavro", "Escape")  # Cancel: the window stays, changes and all
            check(app.title() == "Tavro - edit.bin *", "Cancel changed the window: %r" % app.title())
            app.key("alt+F4")
            app.press_in("Tavro", "y")  # Yes: saved, then closed
            wait_for(lambda: app.process.poll() is not None, what="the program to end")
            check(read(path) == expected[:6] + b"A\0" + expected[8:], "Yes did not save the change")
        finally:
            app.stop()

    def test_large_save_shows_progress(self):
        app = self.app("large-save")
        path = app.data_file("large.bin", b"")
        os.truncate(path, LARGE_SAVE_SIZE)  # sparse: made at once, read fast
        app.start(path)
        try:
            app.wait_title("Tavro - large.bin")
            normal = app.status_text_extent()
            app.key("ctrl+r", "Insert", "Right", "7", "e")
            app.wait_title("Tavro - large.bin *")
            menu_before = darkest(app.screenshot(), MENU_BAR)
            app.menu("f", "s")
            # While the temporary copy is written, the bar shows the short "Saving... N%" text
            # and is redrawn with new percentages; closing the window is ignored meanwhile.
            shots = []

            def progress_shown():
                image = app.screenshot()
                if not 0 < app.status_text_extent(image) < normal - 100:
                    return False
                box = app.status_box(image)
                if not shots or image.crop(*box).difference(shots[-1].crop(*box)) > 0:
                    shots.append(image)
                return len(shots)

            wait_for(progress_shown, timeout=SAVE_TIMEOUT, interval=0.2, what="the progress text")
            app.key("alt+F4")
            wait_for(lambda: progress_shown() >= 2, timeout=SAVE_TIMEOUT, interval=0.2, what="a new percentage")
            shots[-1].save_png(os.path.join(self.artifacts, "large-save-progress.png"))
            check(menu_before < 40 < darkest(shots[-1], MENU_BAR), "the menu labels were not grayed during the save")
            app.wait_title("Tavro - large.bin")
            time.sleep(0.5)
            check(app.find_window("Tavro") is None and app.process.poll() is None,
                  "closing during the save was not ignored")
            check(os.path.getsize(path) == LARGE_SAVE_SIZE + 1, "the saved file has %d bytes" % os.path.getsize(path))
            with open(path, "rb") as stream:
                check(stream.read(4) == b"\x00\x7e\x00\x00", "the inserted byte is not at offset 1")
        finally:
            app.stop()
            os.remove(path)
