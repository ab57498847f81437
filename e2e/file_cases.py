"""GUI cases of the loop a user lives in: edit and save in both modes, a save that fails, the
unsaved-changes question, go to offset, the font and about dialogs, a large save with progress,
and files dropped on the window."""

import glob
import os
import subprocess
import time

import screen
from harness import TestFailure, wait_for

CONTENT = bytes(range(32, 127)) * 8  # 760 bytes
APP_TITLE = "Tavro"
LINK_BLUE = (0, 102, 204)
LARGE_SAVE_SIZE = 1 << 30
# The drag source speaks X through python3-xlib, which Debian installs for its own python.
DROP_SOURCE = ["/usr/bin/python3", os.path.join(os.path.dirname(os.path.abspath(__file__)), "xdnd_drop.py")]
SAVE_TIMEOUT = 120
MENU_BAR = (0, 0, 200, 18)  # the labels File to Help


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


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


class FileCases:
    """Mixed into the runner's Cases: uses its app(), calibrate() and wait_caret() helpers."""

    # --- helpers -------------------------------------------------------------------------------

    @staticmethod
    def data_file(app, name, content=CONTENT):
        """A fresh file of its own in a folder of its own beside the app's run folder."""
        folder = os.path.join(app.dir, "data")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        if os.path.exists(path):
            subprocess.run(["chattr", "-i", path], capture_output=True)  # left by an interrupted run
        with open(path, "wb") as out:
            out.write(content)
        return path

    @staticmethod
    def windows_titled(app, title):
        return app.xdotool("search", "--onlyvisible", "--name", "^%s$" % title, check=False).split()

    @staticmethod
    def window_image(app, window):
        """A popup's own picture: the root window's shows the dialogs black."""
        return screen.capture(app.display, window)

    @staticmethod
    def text_lines(image, left, right, bottom):
        """The bands of rows between left and right, above bottom, that hold dark text pixels."""
        rows = sorted({y for _, y in image.find(lambda c: max(c) < 90, (left, 0, right, bottom))})
        return sum(1 for a, b in zip([-2] + rows, rows) if b - a > 1)

    @staticmethod
    def keys_in(app, window, *keys):
        """Presses keys in a window other than the main one."""
        app.xdotool("windowfocus", "--sync", window)
        for key in keys:
            app.xdotool("key", "--clearmodifiers", key)

    def press_in(self, app, title, *keys):
        """Presses keys in the window titled title, which they close."""
        self.keys_in(app, app.wait_window(title), *keys)
        app.wait_window_gone(title)

    @staticmethod
    def darkest(image, box):
        """The darkest channel value in box."""
        return min(min(image.pixel(x, y)) for x in range(box[0], box[2]) for y in range(box[1], box[3]))

    @staticmethod
    def drop(app, *paths):
        """Drops files on the middle of the main window, as a file manager would."""
        x, y, width, height = app.geometry()
        result = subprocess.run(DROP_SOURCE + [app.display, app.window, str(x + width // 2), str(y + height // 2)] +
                                list(paths), capture_output=True, text=True, timeout=60)
        check(result.returncode == 0, "the drop failed: %s%s" % (result.stdout, result.stderr))

    def edit_and_save(self, app, path, keys):
        name = os.path.basename(path)
        for key in keys:
            app.key(key)
        app.wait_title("%s - %s *" % (APP_TITLE, name))
        app.menu("f", "s")
        app.wait_title("%s - %s" % (APP_TITLE, name))

    # --- cases ---------------------------------------------------------------------------------

    def test_save_overwrite_then_insert(self):
        app = self.app("save")
        path = self.data_file(app, "edited.bin")
        app.start(path)
        try:
            app.wait_title("Tavro - edited.bin")
            # Overwrite mode patches the file in place.
            self.edit_and_save(app, path, ["ctrl+r", "4", "1", "4", "2"])
            check(read(path) == b"AB" + CONTENT[2:], "the file on disk is not the overwritten bytes")
            check(os.listdir(os.path.dirname(path)) == ["edited.bin"], "the save left other files behind")
            # Insert mode goes through a temporary "TVR" file that replaces the file. Editing is
            # still on and the caret stands on offset 2.
            self.edit_and_save(app, path, ["Insert", "4", "3"])
            check(read(path) == b"ABC" + CONTENT[2:], "the file on disk is not the inserted byte")
            left = glob.glob(os.path.join(os.path.dirname(path), "*"))
            check([os.path.basename(p) for p in left] == ["edited.bin"], "files left behind: %s" % left)
        finally:
            app.stop()

    def start_modified(self, run, name):
        """A run with the file name open and its first byte typed over with 41; (app, path)."""
        app = self.app(run)
        path = self.data_file(app, name)
        app.start(path)
        try:
            app.wait_title("Tavro - " + name)
            app.key("ctrl+r")
            app.key("4", "1")
            app.wait_title("Tavro - %s *" % name)
        except Exception:
            app.stop()
            raise
        return app, path

    def close_and_answer(self, app, key):
        """Closes the main window with Alt+F4 and answers the unsaved-changes question."""
        app.key("alt+F4")
        self.press_in(app, APP_TITLE, key)

    def test_save_that_fails(self):
        app, path = self.start_modified("save-fails", "locked.bin")
        try:
            with Immutable(path):
                app.menu("f", "s")
                box = app.wait_window(APP_TITLE)
                # The error text, a blank line and the system's reason: two lines of text right
                # of the icon, above the OK button.
                image = wait_for(lambda: (lambda i: self.text_lines(i, 48, i.width - 4, i.height - 40) >= 2 and i)(
                    self.window_image(app, box)), what="the error text and the system's reason")
                image.save_png(os.path.join(self.artifacts, "save-failed.png"))
                self.keys_in(app, box, "Return")
                app.wait_window_gone(APP_TITLE)
                check(app.title() == "Tavro - locked.bin *", "the title lost its mark: %r" % app.title())
            check(read(path) == CONTENT, "the failed save changed the file")
        finally:
            app.stop()

    def test_close_with_changes_cancel_then_no(self):
        app, path = self.start_modified("close-cancel-no", "question.bin")
        try:
            self.close_and_answer(app, "Escape")  # Cancel: the window stays, changes and all
            check(app.title() == "Tavro - question.bin *", "Cancel changed the window: %r" % app.title())
            self.close_and_answer(app, "n")  # No: the window closes without saving
            wait_for(lambda: app.process.poll() is not None, what="the program to end")
            check(read(path) == CONTENT, "No changed the file")
        finally:
            app.stop()

    def test_close_with_changes_yes(self):
        app, path = self.start_modified("close-yes", "question.bin")
        try:
            self.close_and_answer(app, "y")  # Yes: saved, then closed
            wait_for(lambda: app.process.poll() is not None, what="the program to end")
            check(read(path) == b"A" + CONTENT[1:], "Yes did not save the change")
        finally:
            app.stop()

    def test_go_to_offset(self):
        app = self.app("goto")
        app.start(self.large)
        try:
            grid = self.calibrate(app)
            before = app.screenshot()
            app.key("ctrl+g")
            self.press_in(app, "Go To Offset", "0", "x", "1", "f", "Return")
            self.wait_caret(app, grid, (1, 15))
            after = app.screenshot("goto-1f")
            box = app.status_box(after)
            check(after.crop(*box).difference(before.crop(*box)) > 0.001, "the status offset did not change")
            # An offset that is no number: the error box, under the dialog's title, and the caret stays.
            app.key("ctrl+g")
            prompt = app.wait_window("Go To Offset")
            self.keys_in(app, prompt, "z", "Return")
            box = wait_for(lambda: [w for w in self.windows_titled(app, "Go To Offset") if w != prompt],
                           what="the error box")[0]
            self.window_image(app, box).save_png(os.path.join(self.artifacts, "goto-invalid.png"))
            self.keys_in(app, box, "Return")
            app.wait_window_gone("Go To Offset")
            self.wait_caret(app, grid, (1, 15))
        finally:
            app.stop()

    def test_font_dialog(self):
        app = self.app("font")
        app.start(self.large)
        try:
            first = wait_for(lambda: self.caret_box(app, app.screenshot()), what="the caret")
            app.menu("s", "f")
            dialog = app.wait_window("Font")
            wait_for(lambda: (lambda i: i.find(lambda c: max(c) < 90) and i)(self.window_image(app, dialog)),
                     what="the dialog's texts").save_png(os.path.join(self.artifacts, "font-dialog.png"))
            # Family list, then the size list (to 28), then Bold; Enter presses OK.
            self.keys_in(app, dialog, "Tab", "End", "Tab", "space", "Return")
            app.wait_window_gone("Font")
            font = wait_for(lambda: (lambda f: f["size"] == 28 and f)(app.settings()["font"]),
                            what="the settings to hold size 28 (now %r)" % app.settings()["font"])
            check(font["bold"] is True and font["italic"] is False, "the settings hold %r" % font)
            check(font["family"] == "DejaVu Sans Mono", "the family changed to %r" % font["family"])
            height = first[3] - first[1]
            wait_for(lambda: (lambda b: b[3] - b[1] > 1.8 * height)(self.caret_box(app, app.screenshot())),
                     what="a caret twice as tall (12 to 28 points, bold)")
            app.screenshot("font-28-bold")
        finally:
            app.stop()

    def test_about_box(self):
        app = self.app("about")
        app.start(self.small)
        try:
            app.menu("h", "a")
            dialog = app.wait_window("About Tavro")
            image = wait_for(lambda: (lambda i: i.find(lambda c: c == LINK_BLUE) and i)(
                self.window_image(app, dialog)), what="the blue homepage link")
            image.save_png(os.path.join(self.artifacts, "about.png"))
            self.keys_in(app, dialog, "Escape")
            app.wait_window_gone("About Tavro")
            app.key("ctrl+r")  # the main window takes keys again
            app.key("4", "1")
            app.wait_title("Tavro - small.bin *")
        finally:
            app.stop()

    def test_large_save_shows_progress(self):
        app = self.app("large-save")
        path = self.data_file(app, "large.bin", b"")
        os.truncate(path, LARGE_SAVE_SIZE)  # sparse: made at once, read fast
        app.start(path)
        try:
            app.wait_title("Tavro - large.bin")
            normal = app.status_text_extent()
            app.key("ctrl+r", "Insert", "Right", "7", "e")
            app.wait_title("Tavro - large.bin *")
            menu_before = self.darkest(app.screenshot(), MENU_BAR)
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
            # The menu bar's labels are grayed while the save runs.
            check(menu_before < 40 < self.darkest(shots[-1], MENU_BAR),
                  "menu labels not grayed: darkest %d before, %d during the save" % (
                      menu_before, self.darkest(shots[-1], MENU_BAR)))
            app.wait_title("Tavro - large.bin")
            time.sleep(0.5)
            check(app.find_window(APP_TITLE) is None and app.process.poll() is None,
                  "closing during the save was not ignored")
            check(os.path.getsize(path) == LARGE_SAVE_SIZE + 1, "the saved file has %d bytes" % os.path.getsize(path))
            with open(path, "rb") as stream:
                check(stream.read(4) == b"\x00\x7e\x00\x00", "the inserted byte is not at offset 1")
        finally:
            app.stop()
            if os.path.exists(path):
                os.remove(path)

    def test_drop_files(self):
        app = self.app("drop")
        paths = [self.data_file(app, name) for name in ("first.bin", "second with spaces.bin", "third.bin")]
        app.start()
        try:
            app.wait_title("Tavro")
            # No file open: the dropped file opens here.
            self.drop(app, paths[0])
            app.wait_title("Tavro - first.bin")
            # With a modified document open, dropped files go to new instances, one each, and the
            # document stays as it is, unasked. (Edit first: the new windows open over this one.)
            app.key("ctrl+r")
            app.key("4", "1")
            app.wait_title("Tavro - first.bin *")
            self.drop(app, *paths[1:])
            for name in ("second with spaces.bin", "third.bin"):
                app.wait_window("Tavro - " + name)
            check(app.title() == "Tavro - first.bin *", "the window changed: %r" % app.title())
            check(not self.windows_titled(app, APP_TITLE), "a question was asked")
            check(len(self.windows_titled(app, "Tavro - .*")) == 3, "not one window per file")
        finally:
            app.stop()
