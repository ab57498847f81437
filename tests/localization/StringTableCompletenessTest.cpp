// Both string tables must define every key the program looks up: the keys of the checked-in
// list and every key literal found in the sources. Each table must hold the same keys.

#include "localization/StringTableParser.h"

#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#ifndef TVX_SOURCE_DIR
#error "TVX_SOURCE_DIR must name the source tree"
#endif

namespace tvx {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TVX_SOURCE_DIR;

std::string ReadText(const fs::path& path) {
    const test::Bytes bytes = test::ReadFileBytes(path.u16string());
    return std::string(bytes.begin(), bytes.end());
}

bool IsKeyText(std::string_view text) {
    bool segmentStart = true;
    int dots = 0;
    for (const char c : text) {
        if (c == '.') {
            if (segmentStart) return false;
            segmentStart = true;
            ++dots;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') {
            segmentStart = false;
        } else {
            return false;
        }
    }
    return dots > 0 && !segmentStart;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

std::set<std::string> RequiredKeyList() {
    std::set<std::string> keys;
    const std::string text = ReadText(kSourceDir / "tests" / "localization" / "RequiredKeys.txt");
    for (const std::string_view line : Lines(text))
        if (!line.empty() && line[0] != '#') keys.emplace(line);
    return keys;
}

// The string literals of a C++ source, with whether each is the argument of GetText.
// Comments and character literals are passed over.
void CollectLiterals(std::string_view source, const std::set<std::string>& prefixes, const std::string& file,
                     std::map<std::string, std::string>& found) {
    std::size_t i = 0;
    while (i < source.size()) {
        if (source.substr(i, 2) == "//") {
            i = source.find('\n', i);
            if (i == std::string_view::npos) return;
        } else if (source.substr(i, 2) == "/*") {
            i = source.find("*/", i + 2);
            if (i == std::string_view::npos) return;
            i += 2;
        } else if (source[i] == '\'' && i + 2 < source.size() &&
                   (source[i + 1] == '\\' ? i + 3 < source.size() && source[i + 3] == '\'' : source[i + 2] == '\'')) {
            i += source[i + 1] == '\\' ? 4 : 3;
        } else if (source[i] == '"') {
            std::size_t end = i + 1;
            while (end < source.size() && source[end] != '"' && source[end] != '\n') end += source[end] == '\\' ? 2 : 1;
            const std::string literal(source.substr(i + 1, std::min(end, source.size()) - i - 1));
            std::size_t before = i;
            while (before > 0 && (source[before - 1] == 'u' || source[before - 1] == '8' || source[before - 1] == 'L'))
                --before;
            while (before > 0 && (source[before - 1] == ' ' || source[before - 1] == '\t')) --before;
            const bool isGetTextArgument = source.substr(0, before).ends_with("GetText(");
            if (IsKeyText(literal) &&
                (isGetTextArgument || prefixes.contains(literal.substr(0, literal.find('.')))))
                found.emplace(literal, file);
            i = end + 1;
        } else {
            ++i;
        }
    }
}

// Key literals of the program's sources (the tests, with their made-up keys, excluded).
std::map<std::string, std::string> KeysUsedInSources(const std::set<std::string>& prefixes) {
    std::map<std::string, std::string> found;
    for (auto it = fs::recursive_directory_iterator(kSourceDir); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory()) {
            if (name.starts_with(".") || name.starts_with("build") || (it.depth() == 0 && name == "tests"))
                it.disable_recursion_pending();
            continue;
        }
        const std::string extension = it->path().extension().string();
        if (extension != ".cpp" && extension != ".h" && extension != ".rc") continue;
        CollectLiterals(ReadText(it->path()), prefixes, fs::relative(it->path(), kSourceDir).generic_string(),
                        found);
    }
    return found;
}

StringTableEntries Table(const char* locale) {
    return ParseStringTable(ReadText(kSourceDir / "resources" / "strings" / (std::string(locale) + ".txt")));
}

std::set<std::string> KeysOf(const StringTableEntries& table) {
    std::set<std::string> keys;
    for (const auto& entry : table) keys.insert(entry.first);
    return keys;
}

TEST(StringTableCompleteness, RequiredKeysAreDefinedInBothTables) {
    const std::set<std::string> required = RequiredKeyList();
    ASSERT_GT(required.size(), 100u);
    for (const char* locale : {"en-US", "ja-JP"}) {
        const StringTableEntries table = Table(locale);
        for (const std::string& key : required) EXPECT_TRUE(table.contains(key)) << key << " missing in " << locale;
    }
}

TEST(StringTableCompleteness, KeysUsedInTheSourcesAreDefinedInBothTables) {
    std::set<std::string> prefixes;
    for (const std::string& key : RequiredKeyList()) prefixes.insert(key.substr(0, key.find('.')));
    const auto used = KeysUsedInSources(prefixes);
    for (const char* locale : {"en-US", "ja-JP"}) {
        const StringTableEntries table = Table(locale);
        for (const auto& [key, file] : used)
            EXPECT_TRUE(table.contains(key)) << key << " (used in " << file << ") missing in " << locale;
    }
}

TEST(StringTableCompleteness, BothTablesHoldTheSameKeys) {
    const std::set<std::string> english = KeysOf(Table("en-US")), japanese = KeysOf(Table("ja-JP"));
    for (const std::string& key : english) EXPECT_TRUE(japanese.contains(key)) << key << " only in en-US";
    for (const std::string& key : japanese) EXPECT_TRUE(english.contains(key)) << key << " only in ja-JP";
}

TEST(StringTableCompleteness, TablesAreCleanUtf8WithOneNonEmptyLinePerKey) {
    for (const char* locale : {"en-US", "ja-JP"}) {
        const std::string text = ReadText(kSourceDir / "resources" / "strings" / (std::string(locale) + ".txt"));
        std::u16string decoded;
        EXPECT_TRUE(platform::DecodeUtf8Strict(text, decoded)) << locale;
        EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF")) << locale;
        std::size_t lines = 0;
        for (const std::string_view line : Lines(text))
            if (!line.empty() && line[0] != '#' && line.find('=') != std::string_view::npos) ++lines;
        const StringTableEntries table = Table(locale);
        EXPECT_EQ(lines, table.size()) << "a key is defined twice in " << locale;
        for (const auto& [key, value] : table) {
            EXPECT_TRUE(IsKeyText(key)) << "malformed key " << key << " in " << locale;
            EXPECT_FALSE(value.empty()) << key << " has no text in " << locale;
        }
    }
}

TEST(StringTableCompleteness, TheScannerFindsKeysOnlyWhereTheyAreLiterals) {
    const std::set<std::string> prefixes{"menu"};
    std::map<std::string, std::string> found;
    CollectLiterals(R"(x = GetText("about.title"); y = GetText(u"other.key"); z = "menu.file.open";
        // "menu.commented.out"
        /* "menu.block.comment" */ char q = '"'; w = "menu.after.char"; v = "notakey"; u = "a.b";
        s = L"menu.wide"; t = "menu.with space")",
                    prefixes, "f", found);
    std::set<std::string> keys;
    for (const auto& entry : found) keys.insert(entry.first);
    EXPECT_EQ(keys, (std::set<std::string>{"about.title", "other.key", "menu.file.open", "menu.after.char",
                                           "menu.wide"}));
}

}  // namespace
}  // namespace tvx
