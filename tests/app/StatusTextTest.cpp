#include "app/StatusText.h"
#include "app/WindowTitle.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

std::u16string English(std::string_view key) {
    if (key == "status.offset") return u"Offset";
    if (key == "status.encoding") return u"Encoding";
    if (key == "status.mode") return u"Mode";
    if (key == "status.mode.insert") return u"Insert";
    if (key == "status.mode.overwrite") return u"Overwrite";
    if (key == "status.readonly") return u"Read-only";
    if (key == "status.modified") return u"Modified";
    if (key == "status.zoom") return u"Zoom";
    if (key == "status.no_file") return u"No file open";
    return std::u16string(key.begin(), key.end());  // a missing key shows as itself
}

StatusState OpenFile() {
    StatusState state;
    state.fileOpen = true;
    state.documentSize = 1000;
    return state;
}

TEST(StatusText, SummaryOfTheView) {
    StatusState state = OpenFile();
    state.caret = 255;
    EXPECT_EQ(BuildStatusText(state, English), u"Offset: 0x000000FF  Encoding: ASCII  Read-only  Zoom: 100%");
    state.editingEnabled = true;
    state.mode = EditMode::Insert;
    state.modified = true;
    state.encoding = TextEncoding::Utf16Be;
    state.zoom = 1.5f;
    EXPECT_EQ(BuildStatusText(state, English),
              u"Offset: 0x000000FF  Encoding: UTF-16 BE  Mode: Insert  Modified  Zoom: 150%");
    state.mode = EditMode::Overwrite;
    state.modified = false;
    EXPECT_EQ(BuildStatusText(state, English), u"Offset: 0x000000FF  Encoding: UTF-16 BE  Mode: Overwrite  Zoom: 150%");
}

TEST(StatusText, OffsetDigitsFollowTheDocumentSize) {
    StatusState state = OpenFile();
    state.documentSize = 3ull << 30;
    state.caret = 0xABCDEF12;
    EXPECT_EQ(BuildStatusText(state, English).substr(0, 18), u"Offset: 0xABCDEF12");
    state.documentSize = 4ull << 30;
    state.caret = 0x10;
    EXPECT_EQ(BuildStatusText(state, English).substr(0, 26), u"Offset: 0x0000000000000010");
}

TEST(StatusText, ZoomRoundsHalvesAwayFromZero) {
    StatusState state = OpenFile();
    state.zoom = 0.605f;
    EXPECT_NE(BuildStatusText(state, English).find(u"Zoom: 61%"), std::u16string::npos);
    state.zoom = 2.5f;
    EXPECT_NE(BuildStatusText(state, English).find(u"Zoom: 250%"), std::u16string::npos);
}

TEST(StatusText, PriorityOfNoticeProgressAndNoFile) {
    StatusState state = OpenFile();
    state.searchProgress = u"Searching... 40%";
    EXPECT_EQ(BuildStatusText(state, English), u"Searching... 40%");
    state.saveProgress = u"Saving... 10%";
    EXPECT_EQ(BuildStatusText(state, English), u"Saving... 10%");
    state.flash = u"read-only!";
    EXPECT_EQ(BuildStatusText(state, English), u"read-only!");
    EXPECT_EQ(BuildStatusText(StatusState{}, English), u"No file open");
}

TEST(StatusText, MissingKeysShowAsThemselvesWithThePunctuation) {
    StatusState state = OpenFile();
    const auto keysOnly = [](std::string_view key) { return std::u16string(key.begin(), key.end()); };
    EXPECT_EQ(BuildStatusText(state, keysOnly),
              u"status.offset: 0x00000000  status.encoding: ASCII  status.readonly  status.zoom: 100%");
}

TEST(StatusText, EncodingNames) {
    EXPECT_EQ(EncodingName(TextEncoding::Ascii), u"ASCII");
    EXPECT_EQ(EncodingName(TextEncoding::Utf8), u"UTF-8");
    EXPECT_EQ(EncodingName(TextEncoding::Utf16Le), u"UTF-16 LE");
    EXPECT_EQ(EncodingName(static_cast<TextEncoding>(42)), u"ASCII");
}

TEST(StatusColors, PerThemeAndRedForTheNotice) {
    EXPECT_FALSE(StatusBarColors(Theme::Light, false).background.has_value());
    EXPECT_EQ(StatusBarColors(Theme::Light, false).text, (Rgb{32, 32, 32}));
    EXPECT_EQ(StatusBarColors(Theme::DarkBlue, false).background, (Rgb{13, 27, 42}));
    EXPECT_EQ(StatusBarColors(Theme::Black, false).text, (Rgb{243, 243, 243}));
    EXPECT_FALSE(StatusBarColors(static_cast<Theme>(9), false).background.has_value());
    for (Theme theme : {Theme::Light, Theme::DarkBlue, Theme::Black}) {
        EXPECT_EQ(StatusBarColors(theme, true).background, (Rgb{180, 32, 32}));
        EXPECT_EQ(StatusBarColors(theme, true).text, (Rgb{255, 255, 255}));
    }
}

TEST(WindowTitle, FileNameAndModifiedMark) {
    EXPECT_EQ(BuildWindowTitle(u"Tavro", false, u"", false), u"Tavro");
    EXPECT_EQ(BuildWindowTitle(u"Tavro", true, u"C:\\data\\dump.bin", false), u"Tavro - dump.bin");
    EXPECT_EQ(BuildWindowTitle(u"Tavro", true, u"/tmp/x/a b.bin", true), u"Tavro - a b.bin *");
    EXPECT_EQ(FileNamePart(u"C:name.bin"), u"name.bin");
    EXPECT_EQ(FileNamePart(u"plain"), u"plain");
}

}  // namespace
}  // namespace tvx::test
