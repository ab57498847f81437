#include "settings/SettingsFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace tvx {
namespace {

class SettingsReader : public ::testing::Test {
protected:
    // Reads text as a settings file into a copy of start.
    AppSettings Read(const std::string& text, const AppSettings& start = AppSettings{}) {
        test::WriteFileBytes(path_, test::Bytes(text.begin(), text.end()));
        AppSettings settings = start;
        EXPECT_TRUE(ReadSettingsFile(settings, path_));
        return settings;
    }

    test::TempDir dir_;
    std::u16string path_ = dir_.File("tavro.settings.json");
};

// A record in which every field differs from the record defaults.
AppSettings Distinct() {
    AppSettings s;
    s.dataInspectorVisible = false;
    s.structViewVisible = true;
    s.byteArrayFormat = ByteArrayFormat::Ascii;
    s.byteOrder = ByteOrder::Big;
    s.numericBase = NumericBase::Dec;
    s.appVersion = u"v0.9";
    s.encoding = TextEncoding::Utf8;
    s.theme = Theme::Light;
    s.language = Language::English;
    s.fontFamily = u"Courier New";
    s.fontSize = 9.0f;
    s.bold = true;
    s.italic = true;
    s.recentFiles = {u"a"};
    s.searchHistory = {{u"text", u"q"}};
    return s;
}

TEST_F(SettingsReader, AMissingFileFailsAndChangesNothing) {
    AppSettings settings = Distinct();
    EXPECT_FALSE(ReadSettingsFile(settings, dir_.File("missing.json")));
    EXPECT_EQ(settings, Distinct());
}

TEST_F(SettingsReader, ADirectoryCannotBeReadAndChangesNothing) {
    AppSettings settings = Distinct();
    EXPECT_FALSE(ReadSettingsFile(settings, dir_.Path().u16string()));
    EXPECT_EQ(settings, Distinct());
}

TEST_F(SettingsReader, AnEmptyFileKeepsEverythingButTheLists) {
    AppSettings expected = Distinct();
    expected.recentFiles.clear();
    expected.searchHistory.clear();
    EXPECT_EQ(Read("", Distinct()), expected);
    EXPECT_EQ(Read("not json at all { [ \"", Distinct()), expected);
}

TEST_F(SettingsReader, AHandEditedFileLoadsWithReorderedAndExtraKeysBomAndLineFeeds) {
    const std::string text =
        "\xEF\xBB\xBF{\n"
        "\t\"comment\": \"edited by hand\",\n"
        "\t\"searchHistory\" : [ { \"query\" : \"4D 5A\" , \"kind\" : \"hex\" } ],\n"
        "\t\"analysis\": { \"structView\": { \"numericBase\": \"dec\", \"endian\": \"big\",\n"
        "\t\t\"extra\": {\"nested\": [1, 2]}, \"byteArrayFormat\": \"ascii\", \"visible\": true },\n"
        "\t\t\"dataInspector\": { \"visible\": false } },\n"
        "\t\"font\": { \"italic\": true, \"size\": 10.5, \"family\": \"MS Gothic\", \"bold\": true },\n"
        "\t\"language\": \"Japanese\", \"theme\": \"Black\", \"encoding\": \"Utf16Le\",\n"
        "\t\"recentFiles\": [\"C:\\\\data\\\\a.bin\"],\n"
        "\t\"appVersion\": \"v1.02\"\n"
        "}\n";
    const AppSettings s = Read(text);
    EXPECT_EQ(s.appVersion, u"v1.02");
    EXPECT_EQ(s.encoding, TextEncoding::Utf16Le);
    EXPECT_EQ(s.theme, Theme::Black);
    EXPECT_EQ(s.language, Language::Japanese);
    EXPECT_EQ(s.fontFamily, u"MS Gothic");
    EXPECT_EQ(s.fontSize, 10.5f);
    EXPECT_TRUE(s.bold);
    EXPECT_TRUE(s.italic);
    EXPECT_FALSE(s.dataInspectorVisible);
    EXPECT_TRUE(s.structViewVisible);
    EXPECT_EQ(s.byteArrayFormat, ByteArrayFormat::Ascii);
    EXPECT_EQ(s.byteOrder, ByteOrder::Big);
    EXPECT_EQ(s.numericBase, NumericBase::Dec);
    EXPECT_EQ(s.recentFiles, std::vector<std::u16string>{u"C:\\data\\a.bin"});
    EXPECT_EQ(s.searchHistory, (std::vector<SearchHistoryEntry>{{u"hex", u"4D 5A"}}));
}

TEST_F(SettingsReader, AFileWrittenByTavroReadsBackAsWritten) {
    AppSettings written = Distinct();
    ASSERT_TRUE(WriteSettingsFile(written, path_));
    AppSettings read;
    ASSERT_TRUE(ReadSettingsFile(read, path_));
    EXPECT_EQ(read, written);
}

TEST_F(SettingsReader, UnknownEnumerationTextsFallBackAndEmptyOnesAreIgnored) {
    AppSettings s = Read(R"({"theme": "Dark", "encoding": "utf8", "language": "Klingon",
        "analysis": {"structView": {"byteArrayFormat": "ASCII", "endian": "", "numericBase": "decimal"}}})",
                         Distinct());
    EXPECT_EQ(s.theme, Theme::DarkBlue);
    EXPECT_EQ(s.encoding, TextEncoding::Ascii);
    EXPECT_EQ(s.language, Language::System);
    EXPECT_EQ(s.byteArrayFormat, ByteArrayFormat::Hex);
    EXPECT_EQ(s.byteOrder, ByteOrder::Little);
    EXPECT_EQ(s.numericBase, NumericBase::Hex);

    s = Read(R"({"theme": "", "encoding": "", "language": "", "appVersion": ""})", Distinct());
    EXPECT_EQ(s.theme, Theme::Light);
    EXPECT_EQ(s.encoding, TextEncoding::Utf8);
    EXPECT_EQ(s.language, Language::English);
    EXPECT_EQ(s.appVersion, u"v0.9");
}

TEST_F(SettingsReader, MissingKeysKeepTheCurrentValues) {
    AppSettings expected = Distinct();
    expected.theme = Theme::Black;
    expected.recentFiles.clear();
    expected.searchHistory.clear();
    EXPECT_EQ(Read(R"({"theme": "Black"})", Distinct()), expected);
}

TEST_F(SettingsReader, FontSizeIsTakenOnlyWhenPositive) {
    EXPECT_EQ(Read(R"({"font": {"size": 10.5}})", Distinct()).fontSize, 10.5f);
    EXPECT_EQ(Read(R"({"font": {"size": 0}})", Distinct()).fontSize, 9.0f);
    EXPECT_EQ(Read(R"({"font": {"size": -4}})", Distinct()).fontSize, 9.0f);
    EXPECT_EQ(Read(R"({"font": {"size": "12"}})", Distinct()).fontSize, 9.0f);
    EXPECT_EQ(Read(R"({"font": {"size": 1e99}})", Distinct()).fontSize, 1.0f);
}

TEST_F(SettingsReader, AnEmptyFontFamilyIsNotTaken) {
    EXPECT_EQ(Read(R"({"font": {"family": ""}})", Distinct()).fontFamily, u"Courier New");
}

TEST_F(SettingsReader, FontKeysAreReadOnlyFromTheFontKeyOn) {
    const AppSettings s = Read(R"({"family": "Early", "bold": true, "font": {"italic": true}})", Distinct());
    EXPECT_EQ(s.fontFamily, u"Courier New");
    EXPECT_TRUE(s.italic);
}

TEST_F(SettingsReader, AnalysisValuesNeedTheirObjects) {
    // Without a closed "analysis" object the visibility flags are not looked for at all.
    AppSettings s = Read(R"({"dataInspector": {"visible": true}, "analysis": {"structView": {"visible": false})",
                         Distinct());
    EXPECT_FALSE(s.dataInspectorVisible);
    EXPECT_TRUE(s.structViewVisible);
    s = Read(R"({"analysis": {"dataInspector": {"visible": true}}})", Distinct());
    EXPECT_TRUE(s.dataInspectorVisible);
    EXPECT_TRUE(s.structViewVisible);
}

TEST_F(SettingsReader, PathsWithQuotesBackslashesAndBracketsReadBackWhole) {
    AppSettings s;
    s.recentFiles = {u"C:\\dir \"x\"\\a.bin", u"D:\\[old]\\b].bin", u"E:\\c.bin"};
    ASSERT_TRUE(WriteSettingsFile(s, path_));
    const test::Bytes bytes = test::ReadFileBytes(path_);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find(R"("C:\\dir \"x\"\\a.bin")"), std::string::npos);
    AppSettings read;
    ASSERT_TRUE(ReadSettingsFile(read, path_));
    EXPECT_EQ(read.recentFiles, s.recentFiles);
}

TEST_F(SettingsReader, IllFormedUtf8BecomesReplacementCharacters) {
    const AppSettings s = Read("{\"recentFiles\": [\"a\xFF" "b\", \"c\"]}");
    EXPECT_EQ(s.recentFiles, (std::vector<std::u16string>{u"a\uFFFDb", u"c"}));
}

TEST_F(SettingsReader, HostileFilesAreReadWithoutHarmKeepingWhatIsNotFound) {
    // Sizes that would take hours if any scan were quadratic.
    const std::size_t big = 1u << 20;
    const std::string hostile[] = {
        std::string(10u << 20, '['),
        std::string(big, '{'),
        "{\"analysis\": " + std::string(big, '{'),
        "{\"searchHistory\": [" + std::string(big, '{') + "]}",
        "{\"searchHistory\": [" + std::string(big / 2, '{') + std::string(big / 2, '}') + "]}",
        "{\"recentFiles\": [" + std::string(big + 1, '"') + "]}",
        "{\"theme\": \"" + std::string(big, '\\'),
        "{\"font\": {\"size\": " + std::string(big, '9'),
        std::string(big, '"') + "\"theme\"" + std::string(big, ':'),
    };
    for (const std::string& text : hostile) {
        AppSettings expected = Distinct();
        expected.recentFiles.clear();
        expected.searchHistory.clear();
        EXPECT_EQ(Read(text, Distinct()), expected) << text.substr(0, 40);
    }
}

TEST_F(SettingsReader, ListsAreCutTo16Entries) {
    const AppSettings s = Read("{\"recentFiles\": [" + std::string(1u << 20, '"') + "]}");
    EXPECT_EQ(s.recentFiles, std::vector<std::u16string>(16));
}

TEST_F(SettingsReader, ManyKeyLookalikesStillFindTheRealKey) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "\"theme\" ";
    text += "\"theme\": \"Black\"";
    EXPECT_EQ(Read(text, Distinct()).theme, Theme::Black);
}

}  // namespace
}  // namespace tvx
