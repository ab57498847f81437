"""GUI cases of the tools for a selection: Copy As from the Edit menu and the context menu,
Fill Selection and Insert Bytes with their undo steps, the Checksums dialog and Save Selection As."""

import hashlib
import os
import subprocess
import zlib

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

    def test_checksums_of_the_edited_document_and_save_selection_as(self):
        app, path = self.open_data("sums")
        try:
            app.key("ctrl+r")
            app.type_text("41")  # the digests are of the document as edited
            edited = b"A" + CONTENT[1:]
            app.wait_title("Tavro - sums.bin *")
            app.menu("t", "c")  # Tools > Checksums..., nothing selected: the whole document
            dialog = app.wait_window("Checksums")
            self.keys_in(app, dialog, "space")  # the first Copy button: CRC-32
            self.copied(app, "%08x" % zlib.crc32(edited))
            self.window_image(app, dialog).save_png(os.path.join(self.artifacts, "checksums.png"))
            self.keys_in(app, dialog, "Tab", "Tab", "Tab", "space")  # SHA-256
            self.copied(app, hashlib.sha256(edited).hexdigest())
            self.keys_in(app, dialog, "Tab", "space")  # SHA-512
            self.copied(app, hashlib.sha512(edited).hexdigest())
            self.press_in(app, "Checksums", "Escape")

            app.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right")
            target = os.path.join(os.path.dirname(path), "part.bin")
            app.menu("f", "l")  # File > Save Selection As...
            self.keys_in(app, app.wait_window("Save Selection As"), "ctrl+a")
            app.type_text("Z:" + target.replace("/", "\\"), window=app.wait_window("Save Selection As"))
            self.press_in(app, "Save Selection As", "Return")
            wait_for(lambda: os.path.exists(target) and read(target) == edited[:4], what="the saved selection")
            check(subprocess.run(["cmp", "-n", "4", target, "-"], input=edited[:4]).returncode == 0, "cmp differs")
            check(read(path) == CONTENT, "the document's file changed")
            check(sorted(os.listdir(os.path.dirname(path))) == ["part.bin", "sums.bin"], "a temporary file remains")
            app.wait_title("Tavro - sums.bin *")
        finally:
            app.stop()
