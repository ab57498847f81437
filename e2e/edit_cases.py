"""GUI cases of editing as in other hex editors: undo and redo, the clipboard (Shift selection,
copy, hexadecimal paste in both modes and over a selection), typing in the text column, and
changed bytes drawn in their colour in every theme."""

import os
import subprocess

from harness import TestFailure, wait_for

CONTENT = bytes(range(32, 127)) * 8  # 760 bytes
# The changed-byte text colour of each theme.
CHANGED = {"Light": (0xC6, 0x28, 0x28), "DarkBlue": (0xFF, 0xB4, 0x54), "Black": (0xFF, 0xD0, 0x4A)}


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


class EditCases:
    """Mixed into the runner's Cases: uses its app(), data_file() and calibrate() helpers."""

    def open_data(self, run, content=CONTENT, **settings):
        app = self.app(run, **settings)
        path = self.data_file(app, run + ".bin", content)
        app.start(path)
        try:
            app.wait_title("Tavro - %s.bin" % run)
            self.calibrate(app)
        except Exception:
            app.stop()
            raise
        return app, path

    @staticmethod
    def save_and_expect(app, path, expected):
        app.key("ctrl+s")
        app.wait_title("Tavro - " + os.path.basename(path))
        wait_for(lambda: read(path) == expected, what="the saved bytes (now %r...)" % read(path)[:16])

    @staticmethod
    def set_clipboard(app, text):
        # xclip keeps serving the selection in the background until another owner takes it.
        subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode(), check=True, timeout=10,
                       env={"DISPLAY": app.display})
        wait_for(lambda: app.clipboard() == text, what="the X clipboard to hold %r" % text)

    def test_type_undo_redo_save(self):
        app, path = self.open_data("undo")
        try:
            app.key("ctrl+r")
            app.type_text("4142")  # two bytes, two steps
            app.wait_title("Tavro - undo.bin *")
            app.key("ctrl+z", "ctrl+z")  # back to the saved bytes: no " *"
            app.wait_title("Tavro - undo.bin")
            app.key("ctrl+y")
            app.wait_title("Tavro - undo.bin *")
            app.menu("e", "d")  # Edit > Redo
            self.save_and_expect(app, path, b"AB" + CONTENT[2:])
            app.key("ctrl+z")  # a save empties the history
            app.key("Right")
            app.wait_title("Tavro - undo.bin")
        finally:
            app.stop()

    def test_clipboard_selection_and_paste(self):
        app, path = self.open_data("paste")
        try:
            app.key("shift+Right", "shift+Right", "shift+Right", "ctrl+c")
            wait_for(lambda: app.clipboard() == "20 21 22 23", what="the copied selection (now %r)" % app.clipboard())
            app.key("Escape", "ctrl+Home")
            self.set_clipboard(app, "DE AD\r\n0xBE 0xEF")
            pasted = bytes.fromhex("DEADBEEF")
            app.key("ctrl+r", "ctrl+v")  # overwrite at 0, the caret after it
            app.wait_title("Tavro - paste.bin *")
            app.key("Insert", "ctrl+v")  # inserted at 4
            app.key("shift+Right", "ctrl+v")  # replaces the bytes at 8 and 9
            self.save_and_expect(app, path, pasted * 3 + CONTENT[6:])
        finally:
            app.stop()

    def test_typing_in_the_text_column(self):
        app, path = self.open_data("text", encoding="Utf8")
        try:
            app.key("ctrl+r", "Tab")
            app.type_text("Hi")
            app.wait_title("Tavro - text.bin *")
            app.menu("s", "e", "l")  # UTF-16 LE
            wait_for(lambda: app.settings()["encoding"] == "Utf16Le", what="settings encoding Utf16Le")
            app.type_text("Hi")
            self.save_and_expect(app, path, b"HiH\0i\0" + CONTENT[6:])
        finally:
            app.stop()

    def test_changed_bytes_in_each_theme(self):
        app, path = self.open_data("changed")
        try:
            app.key("ctrl+r")
            app.type_text("414243")  # the caret moves on to offset 3
            for rows in self.rows_in_each_theme(app, CHANGED, "changed", tolerance=60, minimum=20).values():
                # Only the first row's first three cells (and their text cells) are changed.
                check(max(rows) - min(rows) < 30, "changed colour on rows %d to %d" % (min(rows), max(rows)))
        finally:
            app.stop()
