"""GUI journey of the tools for a selection: Copy As from the Edit menu and the context menu,
Fill Selection and Insert Bytes with their undo steps, the Checksums dialog, Save Selection As,
and closing without saving."""

import hashlib
import os
import subprocess
import zlib

from edit_cases import CONTENT
from harness import check, read, wait_for

MIB = 1 << 20


class SelectionCases:
    """Mixed into the runner's Cases."""

    def test_selection_tools_then_close_without_saving(self):
        app, path, _ = self.open_data("tools", CONTENT)
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

            app.key("ctrl+r", "shift+Right")
            app.menu("e", "f")  # Fill Selection...
            app.press_in("Fill Selection", "D", "E", "space", "A", "D", "Return")
            app.wait_title("Tavro - tools.bin *")
            app.key("ctrl+z")  # one step
            app.wait_title("Tavro - tools.bin")
            app.key("ctrl+y", "Escape", "ctrl+End")
            app.menu("e", "i")  # Insert Bytes... before the last byte
            app.press_in("Insert Bytes", *"0x100000", "Return")
            app.press_in("Insert Bytes: Pattern", "A", "B", "Return")
            app.key("ctrl+z")  # the insert is one step: the fill stays
            app.key("ctrl+y")
            saved = b"\xDE\xAD\xDE\xAD" + CONTENT[4:-1] + b"\xAB" * MIB + CONTENT[-1:]
            self.save_and_expect(app, path, saved)
            app.key("ctrl+z")  # a save empties the history
            check(read(path) == saved, "the saved file changed after Ctrl+Z")

            app.key("ctrl+Home")
            app.type_text("41")  # the digests are of the document as edited
            edited = b"A" + saved[1:]
            app.wait_title("Tavro - tools.bin *")
            app.menu("t", "c")  # Tools > Checksums..., nothing selected: the whole document
            dialog = app.wait_window("Checksums")
            app.key("space", window=dialog)  # the first Copy button: CRC-32
            self.copied(app, "%08x" % zlib.crc32(edited))
            app.window_image(dialog).save_png(os.path.join(self.artifacts, "checksums.png"))
            app.key("Tab", "Tab", "Tab", "space", window=dialog)  # SHA-256
            self.copied(app, hashlib.sha256(edited).hexdigest())
            app.key("Tab", "space", window=dialog)  # SHA-512
            self.copied(app, hashlib.sha512(edited).hexdigest())
            app.press_in("Checksums", "Escape")

            app.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right")
            target = os.path.join(os.path.dirname(path), "part.bin")
            app.menu("f", "l")  # File > Save Selection As...
            app.key("ctrl+a", window=app.wait_window("Save Selection As"))
            app.type_text("Z:" + target.replace("/", "\\"), window=app.wait_window("Save Selection As"))
            app.press_in("Save Selection As", "Return")
            wait_for(lambda: os.path.exists(target) and read(target) == edited[:4], what="the saved selection")
            check(subprocess.run(["cmp", "-n", "4", target, "-"], input=edited[:4]).returncode == 0, "cmp differs")
            check(sorted(os.listdir(os.path.dirname(path))) == ["part.bin", "tools.bin"], "a temporary file remains")
            app.wait_title("Tavro - tools.bin *")

            app.key("alt+F4")
            app.press_in("Tavro", "n")  # No: the window closes without saving
            wait_for(lambda: app.process.poll() is not None, what="the program to end")
            check(read(path) == saved, "No changed the file")
        finally:
            app.stop()
