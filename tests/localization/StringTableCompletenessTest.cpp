// Both string tables must define every key the program looks up: the keys of the checked-in
// list and every key literal found in the sources. Each table must hold the same keys, and a
// key's texts agree in what the menus read from them: mnemonic, shortcut and ellipsis.

#include "localization/StringTableParser.h"

#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::string TableText(const char* locale) {
    return ReadText(kSourceDir / "resources" / "strings" / (std::string(locale) + ".txt"));
}

// The lines of a text without their line breaks.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// The checked-in list, and the key literals of the program's sources (not the tests', with
// their made-up keys) whose first part is one of the list's.
std::set<std::string> KeysLookedUp() {
    std::set<std::string> keys, prefixes;
    for (const std::string& line : Lines(ReadText(kSourceDir / "tests" / "localization" / "RequiredKeys.txt"))) {
        if (line.empty() || line[0] == '#') continue;
        keys.insert(line);
        prefixes.insert(line.substr(0, line.find('.')));
    }
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
            if (IsKey(literal) && prefixes.contains(literal.substr(0, literal.find('.')))) keys.insert(literal);
        }
    }
    return keys;
}

TEST(StringTableCompleteness, KeysLookedUpAreDefinedInBothTablesAlike) {
    const std::set<std::string> keys = KeysLookedUp();
    ASSERT_GT(keys.size(), 100u);
    const StringTableEntries english = ParseStringTable(TableText("en-US")),
                             japanese = ParseStringTable(TableText("ja-JP"));
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
    for (const auto& entry : japanese) EXPECT_TRUE(english.contains(entry.first)) << entry.first << " only in ja-JP";
}

TEST(StringTableCompleteness, TablesAreCleanUtf8WithOneNonEmptyLinePerKey) {
    for (const char* locale : {"en-US", "ja-JP"}) {
        const std::string text = TableText(locale);
        std::u16string decoded;
        EXPECT_TRUE(platform::DecodeUtf8Strict(text, decoded)) << locale;
        EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF")) << locale;
        std::size_t lines = 0;
        for (const std::string& line : Lines(text))
            lines += !line.empty() && line[0] != '#' && line.find('=') != std::string::npos;
        const StringTableEntries table = ParseStringTable(text);
        EXPECT_EQ(lines, table.size()) << "a key is defined twice in " << locale;
        for (const auto& [key, value] : table) {
            EXPECT_TRUE(IsKey(key)) << "malformed key " << key << " in " << locale;
            EXPECT_FALSE(value.empty()) << key << " has no text in " << locale;
        }
    }
}

}  // namespace
}  // namespace tvx
