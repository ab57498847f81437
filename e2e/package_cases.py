"""GUI case of the portable Windows package: built by scripts/package, unzipped into a folder
whose path has spaces and Japanese characters, and run from there by a Japanese user."""

import os
import re
import shutil
import subprocess
import zipfile

from harness import App, Wine, check, wait_for, write
from side_window_cases import BMP

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE_TIMEOUT = 600
STRUCT_VIEW_TITLE = "構造体ビュー"
PATTERN_DIALOG_TITLE = "構造体パターンを開く"
MENU_BAR = (0, 0, 400, 18)


class JapaneseWine(Wine):
    """The runner's prefix and server, with processes started for a Japanese user. Wine takes
    the user locale from LANG only when the C library knows it, so the locale is compiled into
    the artifacts folder once."""

    def __init__(self, wine, locales):
        super().__init__(wine.prefix, wine.display)
        self.locales = locales

    def env(self):
        env = super().env()
        env.update({"LANG": "ja_JP.UTF-8", "LC_ALL": "", "LOCPATH": self.locales})
        return env


class PackageCases:
    """Mixed into the runner's Cases: uses its wine, artifacts, choose_pattern(),
    wait_struct_view_text() and activate_main()."""

    def build_package(self):
        """Packages the build under test with scripts/package and returns the zip's path."""
        result = subprocess.run([os.path.join(ROOT, "scripts", "package"), self.build_dir], capture_output=True,
                                text=True, timeout=PACKAGE_TIMEOUT)
        match = re.search(r"^package: (.+\.zip) \((\d+) bytes\)$", result.stdout, re.MULTILINE)
        check(result.returncode == 0 and match, "scripts/package failed: %s%s" % (result.stdout, result.stderr))
        return match.group(1)

    def japanese_locales(self):
        locales = os.path.join(self.artifacts, "locales")
        if not os.path.exists(os.path.join(locales, "ja_JP.UTF-8")):
            os.makedirs(locales, exist_ok=True)
            subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(locales, "ja_JP.UTF-8")],
                           capture_output=True, timeout=120)
        check(os.path.exists(os.path.join(locales, "ja_JP.UTF-8")), "localedef made no ja_JP.UTF-8 locale")
        return locales

    def test_portable_package(self):
        archive = self.build_package()
        top = os.path.join(self.artifacts, "work", "portable package")
        shutil.rmtree(top, ignore_errors=True)
        folder = os.path.join(top, "Tavro ポータブル 版")
        with zipfile.ZipFile(archive) as package:
            package.extractall(folder)
        data = os.path.join(top, "画像 ファイル")
        os.makedirs(data)
        bmp = write(os.path.join(data, "見本.bmp"), BMP)

        app = App(JapaneseWine(self.wine, self.japanese_locales()), None, folder, self.artifacts)  # as unzipped
        check(not os.path.exists(app.settings_path), "the package holds a settings file")
        app.start(bmp)
        try:
            app.wait_title("Tavro - 見本.bmp")
            wait_for(lambda: os.path.exists(app.settings_path), what="the settings file beside tavro.exe")
            wait_for(lambda: app.settings()["language"] == "Japanese", what="a first start in Japanese")
            app.menu("s", "a", "s")  # 設定(&S) > 解析(&A) > 構造体ビュー(&S)
            window = app.wait_window(STRUCT_VIEW_TITLE)
            self.choose_pattern(app, window, "bmp.tvsd", PATTERN_DIALOG_TITLE)  # 開く...
            self.wait_struct_view_text(app, window, lambda t: t.startswith(STRUCT_VIEW_TITLE + "\n") and
                                       "bmp.tvsd" in t.split("\n")[1] and "\n0x12\t0x00000004\t4\t  biWidth" in t,
                                       "the BMP header from the package's patterns")
            app.screenshot("package-struct-view", window=window)

            # The menu bar shown so far is not the English one: choosing English changes it.
            self.activate_main(app)
            japanese = app.screenshot("package-japanese-menus").crop(*MENU_BAR)
            app.menu("s", "l", "e")  # 設定(&S) > 言語 (Language)(&L) > English (英語)(&E)
            wait_for(lambda: app.settings()["language"] == "English", what="settings language English")
            wait_for(lambda: app.screenshot().crop(*MENU_BAR).difference(japanese) > 0.02,
                     what="the menu bar to change to English")
        finally:
            app.stop()

        cli = subprocess.run(["wine", os.path.join(folder, "tavro-cli.exe"), "dump",
                              "Z:" + bmp.replace("/", "\\"), "--length", "16"],
                             cwd=folder, env=app.wine.env(), capture_output=True, timeout=120)
        check(cli.returncode == 0 and cli.stdout.decode().splitlines()[0] ==
              "00000000: 42 4D 46 00 00 00 00 00 00 00 36 00 00 00 28 00",
              "tavro-cli dump: %r %r" % (cli.stdout, cli.stderr))
