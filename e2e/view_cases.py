"""GUI journeys of looking at a file: starting, dropping a file on the window, moving the caret
by keys, clicks and Go To Offset, copying, the read-only notice, zoom, the about box, files
dropped on a modified document; fonts, themes and languages."""

import os

from harness import check, near, wait_for

LARGE = bytes(i % 251 for i in range(4096))
FLASH_RED = (180, 32, 32)
LINK_BLUE = (0, 102, 204)
STATUS_COLOURS = {"Black": (17, 17, 17), "DarkBlue": (13, 27, 42)}  # Light uses the button face
MENU_BAR = (0, 0, 400, 40)


class ViewCases:
    """Mixed into the runner's Cases."""

    def test_browse_a_dropped_file_read_only(self):
        app = self.app("browse")
        large = self.file("large.bin", LARGE)
        app.start()
        try:
            app.wait_title("Tavro")
            extent = app.status_text_extent(app.screenshot("no-file"))
            check(0 < extent < 160, "status text reaches %d px, not the short no-file text" % extent)
            app.drop(large)
            app.wait_title("Tavro - large.bin")
            check(app.settings()["recentFiles"][0].endswith("large.bin"), "the file is not in the recent list")
            grid = self.calibrate(app)
            check(app.status_text_extent() > 300, "no view summary in the status bar")

            before = app.screenshot()
            app.key("Right", "Right", "Down")
            self.wait_caret(app, grid, (1, 2))
            app.key("Left")
            self.wait_caret(app, grid, (1, 1))
            self.status_changed(app, before, app.screenshot("caret-moved"), "moving the caret")
            app.key("Next")  # Page Down: the caret moves a page and the view follows
            rows, column = wait_for(lambda: (lambda c: c[0] > 10 and c)(self.caret_cell(app, grid)),
                                    what="the caret a page lower")
            check(column == 1, "Page Down moved the caret to column %d" % column)
            app.key("ctrl+End")
            wait_for(lambda: self.caret_cell(app, grid)[1] == 15, what="caret in the last column")
            image = app.screenshot("caret-end")
            check(self.hex_area(app, image)[3] - self.caret_box(app, image)[3] < 2 * grid[3],
                  "Ctrl+End did not scroll to the last row")
            app.key("ctrl+Home")
            self.wait_caret(app, grid, (0, 0))

            self.click_offset(app, grid, 17)
            app.key("ctrl+c")
            self.copied(app, "11")

            before = app.screenshot()
            app.key("ctrl+g")
            app.press_in("Go To Offset", "0", "x", "1", "f", "Return")
            self.wait_caret(app, grid, (1, 15))
            self.status_changed(app, before, app.screenshot("goto-1f"), "Go To Offset")
            app.key("ctrl+g")  # no number: an error box over the dialog, and the caret stays
            prompt = app.wait_window("Go To Offset")
            app.key("z", "Return", window=prompt)
            box = app.wait_box_over(prompt, "Go To Offset")
            app.window_image(box).save_png(os.path.join(self.artifacts, "goto-invalid.png"))
            app.key("Return", window=box)
            app.wait_window_gone("Go To Offset")
            self.wait_caret(app, grid, (1, 15))

            app.key("a")  # read-only: a red notice in the status bar, the document unchanged

            def red():
                image = app.screenshot()
                left, top, right, bottom = app.status_box(image)
                return near(image.pixel(right - 10, bottom - 4), FLASH_RED) and image

            wait_for(red, timeout=3, interval=0.05, what="the red read-only notice").save_png(
                os.path.join(self.artifacts, "read-only-flash.png"))
            wait_for(lambda: not red(), timeout=5, what="the notice to end")
            check(app.title() == "Tavro - large.bin", "the document changed: %r" % app.title())

            before, caret = app.screenshot("zoom-before"), self.caret_box(app, app.screenshot())
            x, y, _, _ = app.geometry()
            app.wheel_with_ctrl(x + caret[0] + 200, y + caret[1] + 100)
            wait_for(lambda: (lambda b: b[3] - b[1] > caret[3] - caret[1] + 1)(self.caret_box(app, app.screenshot())),
                     what="larger rows")
            self.status_changed(app, before, app.screenshot("zoom-after"), "the zoom")

            app.menu("h", "a")
            dialog = app.wait_window("About Tavro")
            wait_for(lambda: (lambda i: i.find(lambda c: c == LINK_BLUE) and i)(app.window_image(dialog)),
                     what="the blue homepage link").save_png(os.path.join(self.artifacts, "about.png"))
            app.press_in("About Tavro", "Escape")

            # Files dropped on a modified document open in new instances, one each, unasked.
            app.key("ctrl+r", "4", "1")
            app.wait_title("Tavro - large.bin *")
            others = [app.data_file(name, LARGE) for name in ("second with spaces.bin", "third.bin")]
            app.drop(*others)
            for name in ("second with spaces.bin", "third.bin"):
                app.wait_window("Tavro - " + name)
            check(app.title() == "Tavro - large.bin *" and not app.find_windows("Tavro"),
                  "the drop changed the window or asked: %r" % app.title())
        finally:
            app.stop()

    def test_fonts_themes_and_languages_on_a_japanese_text(self):
        sample = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples", "sample-utf8.txt")
        app = self.app("looks", encoding="Utf8")
        app.start(sample)
        try:
            app.wait_title("Tavro - sample-utf8.txt")
            # Font fallback for the Japanese glyphs makes the first paints slow: wait until two
            # screenshots agree.
            shots = [app.screenshot()]
            wait_for(lambda: shots.append(app.screenshot()) or
                     (shots[-1].difference(shots[-2]) == 0 and self.hex_area(app, shots[-1])),
                     interval=0.5, what="the view to settle")
            shots[-1].save_png(os.path.join(self.artifacts, "utf8-sample.png"))
            glyphs = shots[-1].find(lambda c: c[0] > 200 and c[1] > 200, self.hex_area(app, shots[-1]))
            check(len(glyphs) > 5000, "the rows show only %d glyph pixels" % len(glyphs))

            first = wait_for(lambda: self.caret_box(app, app.screenshot()), what="the caret")
            app.menu("s", "f")
            dialog = app.wait_window("Font")
            wait_for(lambda: (lambda i: i.find(lambda c: max(c) < 90) and i)(app.window_image(dialog)),
                     what="the dialog's texts").save_png(os.path.join(self.artifacts, "font-dialog.png"))
            # Family list, then the size list (to 28), then Bold; Enter presses OK.
            app.key("Tab", "End", "Tab", "space", "Return", window=dialog)
            app.wait_window_gone("Font")
            font = wait_for(lambda: (lambda f: f["size"] == 28 and f)(app.settings()["font"]),
                            what="the settings to hold size 28 (now %r)" % app.settings()["font"])
            check(font == {"family": "DejaVu Sans Mono", "size": 28, "bold": True, "italic": False},
                  "the settings hold %r" % font)
            wait_for(lambda: (lambda b: b[3] - b[1] > 1.8 * (first[3] - first[1]))(self.caret_box(app, app.screenshot())),
                     what="a caret twice as tall (12 to 28 points, bold)")

            for name in self.each_theme(app):
                def painted():
                    image = app.screenshot()
                    area = self.hex_area(app, image, name)
                    return (area[2] - area[0]) * (area[3] - area[1]) > 100_000 and image

                image = wait_for(painted, what="the %s background" % name)
                image.save_png(os.path.join(self.artifacts, "theme-%s.png" % name))
                if name in STATUS_COLOURS:
                    left, top, right, bottom = app.status_box(image)
                    status = image.pixel(left + 2, bottom - 3)
                    check(near(status, STATUS_COLOURS[name]), "status bar %s in theme %s" % (status, name))

            english = app.screenshot("menu-english").crop(*MENU_BAR)
            app.menu("s", "l", "j")
            wait_for(lambda: app.settings()["language"] == "Japanese", what="settings language Japanese")
            wait_for(lambda: app.screenshot().crop(*MENU_BAR).difference(english) > 0.02,
                     what="the menu bar to change")
            app.screenshot("menu-japanese")
        finally:
            app.stop()
