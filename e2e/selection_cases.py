"""GUI cases of the tools for a selection: Copy As from the Edit menu and the context menu,
Fill Selection and Insert Bytes with their undo steps."""

from edit_cases import CONTENT, read
from harness import TestFailure, wait_for

MIB = 1 << 20


def check(condition, message):
    if not condition:
        raise TestFailure(message)


class SelectionCases:
    """Mixed into the runner's Cases: uses open_data() of EditCases and press_in() of FileCases."""

    def copied(self, app, expected):
        # Wine hands CR LF line ends to X as they are or as LF: both read back as LF.
        normal = lambda text: text and text.replace("\r\n", "\n")
        wait_for(lambda: normal(app.clipboard()) == expected, what="the clipboard %r (now %r)" % (expected, app.clipboard()))

    def test_copy_as_from_the_menu_and_the_context_menu(self):
        app, _ = self.open_data("copyas")
        try:
            app.key("shift+Right", "shift+Right")  # " !\""
            app.menu("e", "s", "c")  # Edit > Copy As > C Array
            self.copied(app, 'unsigned char data[3] = {\n    0x20, 0x21, 0x22\n};')
            app.menu("e", "s", "p")
            self.copied(app, "b'\\x20\\x21\\x22'")
            app.key("shift+F10", "s", "b")  # the context menu: Copy As > Base64
            self.copied(app, "ICEi")
            app.key("shift+F10", "s", "w")
            self.copied(app, "202122")
        finally:
            app.stop()

    def test_fill_and_insert_bytes_each_undo_in_one_step(self):
        app, path = self.open_data("fill")
        try:
            app.key("ctrl+r", "shift+Right", "shift+Right", "shift+Right")
            app.menu("e", "f")  # Fill Selection...
            self.press_in(app, "Fill Selection", "D", "E", "space", "A", "D", "Return")
            app.wait_title("Tavro - fill.bin *")
            app.key("ctrl+z")  # one step
            app.wait_title("Tavro - fill.bin")
            app.key("ctrl+y", "Escape", "ctrl+End")
            app.menu("e", "i")  # Insert Bytes... before the last byte
            self.press_in(app, "Insert Bytes", *"0x100000", "Return")
            self.press_in(app, "Insert Bytes: Pattern", "A", "B", "Return")
            app.key("ctrl+z")  # the insert is one step: the fill stays
            app.key("ctrl+y")
            expected = b"\xDE\xAD\xDE\xAD" + CONTENT[4:-1] + b"\xAB" * MIB + CONTENT[-1:]
            self.save_and_expect(app, path, expected)
            app.key("ctrl+z")  # a save empties the history
            check(read(path) == expected, "the saved file changed after Ctrl+Z")
        finally:
            app.stop()
