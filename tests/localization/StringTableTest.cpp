#include "localization/StringTable.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tvx {
namespace {

namespace fs = std::filesystem;

// A base directory with its own resources/strings folder and a settable user locale.
class StringTableTest : public ::testing::Test {
protected:
    StringTableTest() { fs::create_directories(dir_.Path() / "resources" / "strings"); }

    void WriteTable(const std::string& locale, const std::string& text) {
        test::WriteFileBytes((dir_.Path() / "resources" / "strings" / (locale + ".txt")).u16string(),
                             test::Bytes(text.begin(), text.end()));
    }

    test::TempDir dir_;
    std::u16string userLocale_ = u"en-US";
    StringTable table_{dir_.Path().u16string(), [this] { return userLocale_; }};
};

TEST_F(StringTableTest, FixedLanguagesNameTheirLocales) {
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.ResolveLocaleName(), u"en-US");
    table_.SetLanguage(Language::Japanese);
    userLocale_ = u"en-US";
    EXPECT_EQ(table_.ResolveLocaleName(), u"ja-JP");
    userLocale_ = u"ja-JP";
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.ResolveLocaleName(), u"en-US");
}

TEST_F(StringTableTest, SystemFollowsTheUsersLocaleAtEveryCall) {
    table_.SetLanguage(Language::System);
    for (const auto& [locale, expected] : std::initializer_list<std::pair<std::u16string, std::u16string>>{
             {u"ja", u"ja-JP"}, {u"ja-JP", u"ja-JP"}, {u"ja_JP.UTF-8", u"ja-JP"}, {u"j", u"en-US"},
             {u"", u"en-US"}, {u"JA-jp", u"en-US"}, {u"de-DE", u"en-US"}, {u"C", u"en-US"}}) {
        userLocale_ = locale;
        EXPECT_EQ(table_.ResolveLocaleName(), expected) << fs::path(locale).string();
    }
    table_.SetLanguage(static_cast<Language>(9));
    userLocale_ = u"ja";
    EXPECT_EQ(table_.ResolveLocaleName(), u"ja-JP");
}

TEST_F(StringTableTest, LooksUpTheCurrentLanguagesTable) {
    WriteTable("en-US", "app.title=Tavro\nk=English\n");
    WriteTable("ja-JP", "k=日本語\n");
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.GetText("k"), u"English");
    table_.SetLanguage(Language::Japanese);
    EXPECT_EQ(table_.GetText("k"), u"日本語");
    userLocale_ = u"ja";
    table_.SetLanguage(Language::System);
    EXPECT_EQ(table_.GetText("k"), u"日本語");
}

TEST_F(StringTableTest, AMissingKeyGivesTheKeyItself) {
    WriteTable("en-US", "k=v\nempty=\n");
    EXPECT_EQ(table_.GetText("menu.file.open"), u"menu.file.open");
    EXPECT_EQ(table_.GetText("\xC3\xA9"), u"\u00C3\u00A9");  // each byte widened
    EXPECT_EQ(table_.GetText("empty"), u"");
}

TEST_F(StringTableTest, AMissingFileGivesAnEmptyTableForTheRun) {
    EXPECT_EQ(table_.GetText("k"), u"k");
    WriteTable("en-US", "k=v\n");
    EXPECT_EQ(table_.GetText("k"), u"k");
}

TEST_F(StringTableTest, ATableIsLoadedOnceAndKeptWhenTheLanguageChanges) {
    WriteTable("en-US", "k=first\n");
    WriteTable("ja-JP", "k=最初\n");
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.GetText("k"), u"first");
    WriteTable("en-US", "k=second\n");
    table_.SetLanguage(Language::Japanese);
    EXPECT_EQ(table_.GetText("k"), u"最初");
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.GetText("k"), u"first");
    table_.EnsureTableLoaded(u"en-US");
    EXPECT_EQ(table_.GetText("k"), u"first");
}

TEST(StringTableBesideExecutable, ShipsBothLanguages) {
    StringTable table;
    table.SetLanguage(Language::English);
    EXPECT_EQ(table.GetText("menu.file.open"), u"&Open...\tCtrl+O");
    table.SetLanguage(Language::Japanese);
    EXPECT_EQ(table.GetText("menu.file.open"), u"開く(&O)...\tCtrl+O");
}

}  // namespace
}  // namespace tvx
