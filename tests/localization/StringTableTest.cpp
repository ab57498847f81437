// The parser, the lookup by language, the user's language, the About text, and the shipped
// tables: both define every key the program's sources look up, hold the same keys, and a
// key's texts agree in what the menus read from them: mnemonic, shortcut and ellipsis.

#include "localization/AboutText.h"
#include "localization/StringTable.h"
#include "localization/StringTableParser.h"
#include "localization/UserLanguage.h"
#include "platform/Locale.h"
#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef TVX_SOURCE_DIR
#error "TVX_SOURCE_DIR must name the source tree"
#endif

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
        {"a=1\nb=x\xFFy\xC3\nc=3\n", 3, "b", u"x\uFFFDy\uFFFD"},  // an ill-formed line costs no other line
        {"a=1\nb=x\xFFy\xC3\nc=3\n", 3, "c", u"3"},
    };
    for (const auto& c : cases) {
        const auto entries = ParseStringTable(c.text);
        EXPECT_EQ(entries.size(), c.size) << c.text;
        ASSERT_TRUE(entries.contains(c.key)) << c.text;
        EXPECT_EQ(entries.at(c.key), c.value) << c.text;
    }
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
    table_.SetLanguage(Language::English);
    EXPECT_EQ(table_.GetText("k"), u"k");  // a missing file: an empty table for the run
    WriteTable("en-US", "k=first\n");
    WriteTable("ja-JP", "k=最初\nempty=\n");
    EXPECT_EQ(table_.GetText("k"), u"k");
    table_.SetLanguage(Language::Japanese);
    EXPECT_EQ(table_.GetText("k"), u"最初");
    EXPECT_EQ(table_.GetText("empty"), u"");
    EXPECT_EQ(table_.GetText("menu.file.open"), u"menu.file.open");  // a missing key gives itself
    EXPECT_EQ(table_.GetText("\xC3\xA9"), u"\u00C3\u00A9");          // each byte widened
    WriteTable("ja-JP", "k=second\n");
    table_.EnsureTableLoaded(u"ja-JP");
    userLocale_ = u"ja";
    table_.SetLanguage(Language::System);
    EXPECT_EQ(table_.GetText("k"), u"最初");  // kept for the run
}

// Run by ctest with LANG set to a Japanese and to an English locale and the language the
// system should then report (GetUserDefaultLocaleName under Wine, the environment on Linux).
TEST(UserLanguage, FollowsTheSystemLocale) {
    const char* expected = std::getenv("TVX_EXPECTED_USER_LANGUAGE");
    if (expected == nullptr) GTEST_SKIP() << "run through ctest with a chosen locale";
    EXPECT_FALSE(platform::UserDefaultLocaleName().empty());
    EXPECT_EQ(DefaultLanguageForUser(), std::string(expected) == "Japanese" ? Language::Japanese : Language::English);
}

// In both languages, with CR LF line breaks only (for a multi-line edit field), no surrogates.
TEST(AboutText, LicenceAndHomepage) {
    for (std::size_t i = 0; i < kLicenseText.size(); ++i) {
        const char16_t c = kLicenseText[i];
        EXPECT_FALSE(c >= 0xD800 && c <= 0xDFFF) << i;
        EXPECT_EQ(c == u'\n', i > 0 && kLicenseText[i - 1] == u'\r') << i;
        EXPECT_EQ(c == u'\r', i + 1 < kLicenseText.size() && kLicenseText[i + 1] == u'\n') << i;
    }
    EXPECT_NE(kLicenseText.find(u"WITHOUT WARRANTY"), std::u16string_view::npos);
    EXPECT_NE(kLicenseText.find(u"いかなる保証もありません"), std::u16string_view::npos);
    EXPECT_TRUE(kHomepageAddress.starts_with(u"https://"));
}

const fs::path kSourceDir = TVX_SOURCE_DIR;

// Dotted parts of a-z, 0-9 and _, at least two, none empty.
bool IsKey(std::string_view text) {
    const bool valid = std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
    });
    return valid && !text.empty() && text.front() != '.' && text.back() != '.' && text.find("..") == text.npos &&
           text.find('.') != text.npos;
}

std::string ReadText(const fs::path& path) {
    const test::Bytes bytes = test::ReadFileBytes(path.u16string());
    return std::string(bytes.begin(), bytes.end());
}

// The key literals of the program's sources (not the tests', with their made-up keys) whose
// first part is one of the tables' groups.
std::set<std::string> KeysLookedUp() {
    const std::set<std::string> groups = {"about",     "app",  "confirm", "dialog",    "error",
                                          "inspector", "info", "menu",    "structview", "status"};
    std::set<std::string> keys;
    for (auto it = fs::recursive_directory_iterator(kSourceDir); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string(), extension = it->path().extension().string();
        if (it->is_directory() &&
            (name.starts_with(".") || name.starts_with("build") || (it.depth() == 0 && name == "tests")))
            it.disable_recursion_pending();
        if (extension != ".cpp" && extension != ".h" && extension != ".rc") continue;
        const std::string source = ReadText(it->path());
        // Every text between two quotes is looked at, so that escaped quotes and character
        // literals cannot put the scan out of step.
        for (std::size_t open = source.find('"'), close; open != source.npos; open = close) {
            close = source.find('"', open + 1);
            const std::string literal = source.substr(open + 1, close - open - 1);
            if (IsKey(literal) && groups.contains(literal.substr(0, literal.find('.')))) keys.insert(literal);
        }
    }
    return keys;
}

// Each table is clean UTF-8 with one non-empty line per well-formed key, and the copy beside
// the executable (which the default table reads) gives the same texts.
TEST(StringTableCompleteness, KeysLookedUpAreDefinedInBothTablesAlike) {
    StringTableEntries tables[2];
    StringTable shipped;
    for (const Language language : {Language::English, Language::Japanese}) {
        const char* locale = language == Language::English ? "en-US" : "ja-JP";
        const std::string text = ReadText(kSourceDir / "resources" / "strings" / (std::string(locale) + ".txt"));
        std::u16string decoded;
        EXPECT_TRUE(platform::DecodeUtf8Strict(text, decoded)) << locale;
        EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF")) << locale;
        std::size_t lines = 0;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines += !line.starts_with('#') && line.find('=') != line.npos;
        StringTableEntries& table = tables[language == Language::Japanese];
        table = ParseStringTable(text);
        EXPECT_EQ(lines, table.size()) << "a key is defined twice in " << locale;
        shipped.SetLanguage(language);
        for (const auto& [key, value] : table) {
            EXPECT_TRUE(IsKey(key)) << "malformed key " << key << " in " << locale;
            EXPECT_FALSE(value.empty()) << key << " has no text in " << locale;
            EXPECT_EQ(shipped.GetText(key), value) << key << " in " << locale;
        }
    }
    const StringTableEntries &english = tables[0], &japanese = tables[1];
    const std::set<std::string> keys = KeysLookedUp();
    ASSERT_GT(keys.size(), 100u);
    for (const std::string& key : keys) {
        EXPECT_TRUE(english.contains(key)) << key << " missing in en-US";
        EXPECT_TRUE(japanese.contains(key)) << key << " missing in ja-JP";
    }
    for (const auto& [key, text] : english) {
        ASSERT_TRUE(japanese.contains(key)) << key << " only in en-US";
        const std::u16string& other = japanese.at(key);
        EXPECT_EQ(text.find(u'&') != std::u16string::npos, other.find(u'&') != std::u16string::npos) << key;
        EXPECT_EQ(text.substr(std::min(text.find(u'\t'), text.size())),
                  other.substr(std::min(other.find(u'\t'), other.size())))
            << key;
        EXPECT_EQ(text.ends_with(u"..."), other.ends_with(u"...")) << key;
    }
    EXPECT_EQ(japanese.size(), english.size()) << "a key only in ja-JP";
}

}  // namespace
}  // namespace tvx
