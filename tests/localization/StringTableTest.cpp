// The parser, the lookup by language, the user's language and the About text.
#include "localization/AboutText.h"
#include "localization/StringTable.h"
#include "localization/StringTableParser.h"
#include "localization/UserLanguage.h"
#include "platform/Locale.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tvx {
namespace {

namespace fs = std::filesystem;

TEST(StringTableParser, LinesBecomeEntries) {
    const struct {
        const char* text;
        std::size_t size;
        const char* key;
        std::u16string value;
    } cases[] = {
        {" \tmenu.file open \t=\t Open  a file \r\n", 1, "menu.file open", u"Open  a file"},
        {"a=b=c\n", 1, "a", u"b=c"},  // split at the first equals sign
        {"a==\n", 1, "a", u"="},
        {" = text\nkey = \t\r\n", 2, "", u"text"},
        {" = text\nkey = \t\r\n", 2, "key", u""},
        {"\n# a=comment\nno equals here\n\r\n  \nk=v", 1, "k", u"v"},
        {" # key = text\n", 1, "# key", u"text"},               // only the first character makes a comment
        {"\xEF\xBB\xBF# title=x\nk=v\n", 2, "?# title", u"x"},  // a byte order mark is part of the line
        {"\xEF\xBB\xBFk=v\n", 1, "?k", u"v"},
        {"k=first\nk=second\n k = third\n", 1, "k", u"first"},
        {"m\xC3\xA9nu.\xE3\x81\x82=x\n", 1, "m?nu.?", u"x"},
        {"\xF0\x9F\x98\x80=y", 1, "??", u"y"},              // one per UTF-16 unit; no final line feed
        {"k=a\\tb\\n \"q\"\n", 1, "k", u"a\\tb\\n \"q\""},  // not unescaped
        {"k=\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB \xF0\x9F\x98\x80\n", 1, "k", u"ファイル \U0001F600"},
    };
    for (const auto& c : cases) {
        const auto entries = ParseStringTable(c.text);
        EXPECT_EQ(entries.size(), c.size) << c.text;
        ASSERT_TRUE(entries.contains(c.key)) << c.text;
        EXPECT_EQ(entries.at(c.key), c.value) << c.text;
    }
}

TEST(StringTableParser, AnIllFormedLineCostsNoOtherLine) {
    const auto entries = ParseStringTable("a=1\nb=x\xFFy\xC3\nc=3\n");
    EXPECT_EQ(entries.at("a"), u"1");
    EXPECT_EQ(entries.at("b").substr(0, 2), u"x\uFFFD");
    EXPECT_EQ(entries.at("b").back(), u'\uFFFD');
    EXPECT_EQ(entries.at("c"), u"3");
}

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

TEST_F(StringTableTest, LocaleFollowsTheLanguageOrTheUsersLocaleAtEveryCall) {
    const auto other = static_cast<Language>(9);  // counts as System
    const struct {
        Language language;
        std::u16string user, locale;
    } cases[] = {
        {Language::English, u"ja-JP", u"en-US"},
        {Language::Japanese, u"en-US", u"ja-JP"},
        {Language::System, u"ja", u"ja-JP"},
        {Language::System, u"ja_JP.UTF-8", u"ja-JP"},
        {Language::System, u"j", u"en-US"},
        {Language::System, u"", u"en-US"},
        {Language::System, u"JA-jp", u"en-US"},
        {Language::System, u"de-DE", u"en-US"},
        {other, u"ja-JP", u"ja-JP"},
        {other, u"C", u"en-US"},
    };
    for (const auto& c : cases) {
        table_.SetLanguage(c.language);
        userLocale_ = c.user;
        EXPECT_EQ(table_.ResolveLocaleName(), c.locale) << fs::path(c.user).string();
        EXPECT_EQ(LanguageForLocaleName(c.user) == Language::Japanese, c.user.starts_with(u"ja"));
    }
}

TEST_F(StringTableTest, LooksUpTheCurrentLanguagesTableLoadedOnce) {
    WriteTable("en-US", "k=first\nempty=\n");
    WriteTable("ja-JP", "k=最初\n");
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.GetText("k"), u"first");
    EXPECT_EQ(table_.GetText("empty"), u"");
    EXPECT_EQ(table_.GetText("menu.file.open"), u"menu.file.open");  // a missing key gives itself
    EXPECT_EQ(table_.GetText("\xC3\xA9"), u"\u00C3\u00A9");          // each byte widened
    WriteTable("en-US", "k=second\n");
    table_.SetLanguage(Language::Japanese);
    EXPECT_EQ(table_.GetText("k"), u"最初");
    table_.SetLanguage(Language::English);
    table_.EnsureTableLoaded(u"en-US");
    EXPECT_EQ(table_.GetText("k"), u"first");  // kept for the run
    userLocale_ = u"ja";
    table_.SetLanguage(Language::System);
    EXPECT_EQ(table_.GetText("k"), u"最初");
}

TEST_F(StringTableTest, AMissingFileGivesAnEmptyTableForTheRun) {
    EXPECT_EQ(table_.GetText("k"), u"k");
    WriteTable("en-US", "k=v\n");
    EXPECT_EQ(table_.GetText("k"), u"k");
}

TEST(StringTableBesideExecutable, ShipsBothLanguages) {
    StringTable table;
    table.SetLanguage(Language::English);
    EXPECT_EQ(table.GetText("menu.file.open"), u"&Open...\tCtrl+O");
    table.SetLanguage(Language::Japanese);
    EXPECT_EQ(table.GetText("menu.file.open"), u"開く(&O)...\tCtrl+O");
}

// Run by ctest with LANG set to a Japanese and to an English locale and the language the
// system should then report (GetUserDefaultLocaleName under Wine, the environment on Linux).
TEST(UserLanguage, FollowsTheSystemLocale) {
    const char* expected = std::getenv("TVX_EXPECTED_USER_LANGUAGE");
    if (expected == nullptr) GTEST_SKIP() << "run through ctest with a chosen locale";
    EXPECT_FALSE(platform::UserDefaultLocaleName().empty());
    EXPECT_EQ(DefaultLanguageForUser(), std::string(expected) == "Japanese" ? Language::Japanese : Language::English);
}

// 722 characters with CR LF line breaks only, in both languages; no surrogate pairs.
TEST(AboutText, LicenceAndHomepage) {
    EXPECT_EQ(kLicenseText.size(), 722u);
    for (std::size_t i = 0; i < kLicenseText.size(); ++i) {
        const char16_t c = kLicenseText[i];
        EXPECT_FALSE(c >= 0xD800 && c <= 0xDFFF) << i;
        EXPECT_EQ(c == u'\n', i > 0 && kLicenseText[i - 1] == u'\r') << i;
        EXPECT_EQ(c == u'\r', i + 1 < kLicenseText.size() && kLicenseText[i + 1] == u'\n') << i;
    }
    EXPECT_NE(kLicenseText.find(u"WITHOUT WARRANTY"), std::u16string_view::npos);
    EXPECT_NE(kLicenseText.find(u"いかなる保証もありません"), std::u16string_view::npos);
    EXPECT_TRUE(kHomepageAddress.starts_with(u"https://"));
    EXPECT_NE(kHomepageAddress.find(u".example.com/"), std::u16string_view::npos);
}

}  // namespace
}  // namespace tvx
