// The settings file: the fixed layout written, any layout read, the load at start-up, the
// writes after each change, and writes that fail without losing the previous file.

#include "settings/SettingsFile.h"
#include "settings/SettingsLifecycle.h"

#include "platform/AppLocation.h"
#include "platform/File.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <locale>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tvx {
namespace {

namespace fs = std::filesystem;

// A record in which every field differs from the record defaults; its version holds
// characters written with short escapes, four-digit escapes and unescaped.
AppSettings Distinct() {
    return {false, true, ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec, u"v0.9\b\t\n\f\r\x01\x1F/\x7F",
            TextEncoding::Utf8,
            Theme::Light, Language::English, u"MS \u30B4\u30B7\u30C3\u30AF", 10.5f, true, true,
            {u"C:\\a.bin", u"D:\\b c\\d.dat"}, {{u"text", u"MZ"}, {u"hex", u"4D 5A"}}};
}

// A locale that writes "10,5": the writer must not follow it.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
    char do_thousands_sep() const override { return '.'; }
};

TEST(SettingsWriter, TheFixedLayoutWhateverTheGlobalLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    EXPECT_EQ(SerializeSettings(Distinct()),
              "{\r\n"
              "  \"appVersion\": \"v0.9\\b\\t\\n\\f\\r\\u0001\\u001F/\x7F\",\r\n"
              "  \"encoding\": \"Utf8\",\r\n"
              "  \"theme\": \"Light\",\r\n"
              "  \"language\": \"English\",\r\n"
              "  \"font\": {\r\n"
              "    \"family\": \"MS \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF\",\r\n"
              "    \"size\": 10.5,\r\n"
              "    \"bold\": true,\r\n"
              "    \"italic\": true\r\n"
              "  },\r\n"
              "  \"analysis\": {\r\n"
              "    \"dataInspector\": {\r\n"
              "      \"visible\": false\r\n"
              "    },\r\n"
              "    \"structView\": {\r\n"
              "      \"visible\": true,\r\n"
              "      \"byteArrayFormat\": \"ascii\",\r\n"
              "      \"endian\": \"big\",\r\n"
              "      \"numericBase\": \"dec\"\r\n"
              "    }\r\n"
              "  },\r\n"
              "  \"recentFiles\": [\"C:\\\\a.bin\", \"D:\\\\b c\\\\d.dat\"],\r\n"
              "  \"searchHistory\": [{\"kind\": \"text\", \"query\": \"MZ\"}, {\"kind\": \"hex\", \"query\": \"4D 5A\"}]\r\n"
              "}\r\n");
    // Enumerations out of range are written as the fallbacks; sizes with six significant
    // digits and no exponent (the reader takes none).
    AppSettings s;
    s.encoding = static_cast<TextEncoding>(7);
    s.theme = static_cast<Theme>(-1);
    s.language = static_cast<Language>(3);
    s.byteArrayFormat = static_cast<ByteArrayFormat>(2);
    s.byteOrder = static_cast<ByteOrder>(5);
    s.numericBase = static_cast<NumericBase>(9);
    EXPECT_EQ(SerializeSettings(s), SerializeSettings(AppSettings{}));
    std::string sizes;
    for (const float size : {1234.0f, 8.333333f, 12345678.0f, 0.0000123456789f}) {
        s.fontSize = size;
        const std::string text = SerializeSettings(s);
        const std::size_t at = text.find("\"size\": ") + 8;
        sizes += text.substr(at, text.find(',', at) - at) + " ";
    }
    std::locale::global(previous);
    EXPECT_EQ(sizes, "1234 8.33333 12345700 0.0000123457 ");
}
// Characters that stress the escaping and the scanner: JSON syntax, every control
// character (NUL included), non-ASCII and supplementary characters as surrogate pairs.
std::u16string RandomText(std::mt19937& random) {
    static const std::u16string kPieces[] = {
        u"\"", u"\\", u"[", u"]", u"{", u"}", u":", u",", u"/", u" ", u"\\u0041", u"true",
        u"\"recentFiles\"", u"C:\\Program Files\\", u"é", u"日本語", u"\u00A0", u"\U0001F600", u"\U00010348",
        u"\x7F", u"\uFEFF", u"a", u"Z", u"0",
    };
    std::u16string text;
    const int length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i) {
        if (std::uniform_int_distribution<int>(0, 3)(random) == 0) {
            text += static_cast<char16_t>(std::uniform_int_distribution<int>(0, 31)(random));
        } else {
            text += kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(random)];
        }
    }
    return text;
}

AppSettings RandomRecord(std::mt19937& random) {
    const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    AppSettings s;
    s.dataInspectorVisible = pick(2);
    s.structViewVisible = pick(2);
    s.byteArrayFormat = static_cast<ByteArrayFormat>(pick(2));
    s.byteOrder = static_cast<ByteOrder>(pick(2));
    s.numericBase = static_cast<NumericBase>(pick(2));
    s.encoding = static_cast<TextEncoding>(pick(4));
    s.theme = static_cast<Theme>(pick(3));
    s.language = static_cast<Language>(pick(3));
    // The reader skips empty texts for these, so they keep the record's value: give them one.
    s.appVersion = u"v" + RandomText(random);
    s.fontFamily = u"F" + RandomText(random);
    // Sizes with at most six significant digits survive the stream formatting exactly.
    s.fontSize = static_cast<float>(1 + pick(4000)) / 4.0f;
    s.bold = pick(2);
    s.italic = pick(2);
    for (int i = pick(17); i > 0; --i) s.recentFiles.push_back(RandomText(random));
    for (int i = pick(17); i > 0; --i) s.searchHistory.push_back({pick(2) ? u"text" : u"hex", RandomText(random)});
    return s;
}

std::string FileText(const std::u16string& path) {
    const test::Bytes bytes = test::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::u16string& path, const std::string& text) {
    test::WriteFileBytes(path, test::Bytes(text.begin(), text.end()));
}

class SettingsFile : public ::testing::Test {
protected:
    std::u16string InDir(const std::u16string& name) const { return (dir_.Path() / fs::path(name)).u16string(); }

    test::TempDir dir_;
    std::u16string path_ = dir_.File("tavro.settings.json");
    AppSettings settings_;
};

TEST_F(SettingsFile, RandomRecordsSurviveWriteAndRead) {
    std::mt19937 random(20261206);
    test::WriteFileBytes(path_, test::Bytes(5000, 'x'));  // a longer file is replaced completely
    for (int round = 0; round < 300; ++round) {
        const AppSettings written = RandomRecord(random);
        ASSERT_TRUE(WriteSettingsFile(written, path_));
        AppSettings read;
        read.appVersion = u"unchanged";
        ASSERT_TRUE(ReadSettingsFile(read, path_));
        ASSERT_EQ(read, written) << "round " << round;
    }
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"tavro.settings.json"});
}

// Each text read over the distinct record: the lists are the file's, everything else is
// changed only by what the text holds and the reader understands.
TEST_F(SettingsFile, EditedMalformedAndHostileFilesChangeOnlyWhatTheyHold) {
    const auto none = [](AppSettings&) {};
    const std::size_t big = 1u << 20;  // hostile sizes: hours if any scan were quadratic
    std::string lookalikes, history = R"({"searchHistory": [)";
    for (int i = 0; i < 200000; ++i) lookalikes += "\"theme\" ";
    std::vector<SearchHistoryEntry> first16;  // the history stops at its limit
    for (int i = 0; i < 40; ++i) {
        history += R"({"kind": "text", "query": ")" + std::to_string(i) + "\"}, ";
        if (i < 16) first16.push_back({u"text", fs::path(std::to_string(i)).u16string()});
    }
    const struct {
        std::string text;
        std::function<void(AppSettings&)> change;
    } kCases[] = {
        {"not json at all { [ \"", none},
        // Strings: escapes, a lone surrogate, broken escapes, a key name as a value, a key
        // without a value, and a value of another type (never the next string instead).
        {R"({"appVersion": "\u00e9\u3042\uD83D\uDE00"})", [](AppSettings& s) { s.appVersion = u"é\u3042\U0001F600"; }},
        {R"({"appVersion": "\uD83Dx"})", [](AppSettings& s) { s.appVersion = u"\uFFFDx"; }},
        {R"({"appVersion": "\u12G4"})", [](AppSettings& s) { s.appVersion = u"u12G4"; }},
        {R"({"appVersion": "\u12"})", [](AppSettings& s) { s.appVersion = u"u12"; }},
        {R"({"appVersion": "\q\/\\\""})", [](AppSettings& s) { s.appVersion = u"q/\\\""; }},
        {R"({"a": "theme", "theme" : "Black"})", [](AppSettings& s) { s.theme = Theme::Black; }},
        {R"({"theme")", none},
        {R"({"theme": 12, "x": "Black"})", none},
        {lookalikes + R"("theme": "Black")", [](AppSettings& s) { s.theme = Theme::Black; }},
        // Unknown names fall back; empty ones are ignored.
        {R"({"theme": "Dark", "encoding": "utf8", "language": "Klingon", "analysis": {"structView":
            {"byteArrayFormat": "ASCII", "endian": "", "numericBase": "decimal"}}})",
         [](AppSettings& s) {
             s = AppSettings{false, true, ByteArrayFormat::Hex, ByteOrder::Little, NumericBase::Hex, s.appVersion,
                             TextEncoding::Ascii, Theme::DarkBlue, Language::System, s.fontFamily, s.fontSize, true,
                             true, {}, {}};
         }},
        // The font: a positive size without exponent in range, keys from the "font" key on only.
        {R"({"font": {"size": 0}})", none},
        {R"({"font": {"size": +9}})", [](AppSettings& s) { s.fontSize = 9.0f; }},
        {R"({"font": {"size": 1e3}})", [](AppSettings& s) { s.fontSize = 1.0f; }},
        {R"({"font": {"size": "12"}})", none},
        {R"({"font": {"size": 1000000000000000000000000000000000000000000000000000000}})", none},
        {"{\"font\": {\"bold\":\r\n\t false, \"italic\": fals}}", [](AppSettings& s) { s.bold = false; }},
        {R"({"family": "Early", "bold": false, "font": {"italic": false}})", [](AppSettings& s) { s.italic = false; }},
        // The visibility flags only inside a closed "analysis" object; braces in strings do
        // not count.
        {R"({"dataInspector": {"visible": true}, "analysis": {"structView": {"visible": false})", none},
        {R"({"analysis": 1, "dataInspector": {"visible": true}})", none},
        {R"({"analysis": {"s": "{", "dataInspector": {"visible": true}}})",
         [](AppSettings& s) { s.dataInspectorVisible = true; }},
        // The lists: brackets and quotes inside strings, bad bytes, lists beyond the limit.
        {R"({"recentFiles": ["C:\\[x]\\a.bin", "b \"q\" ]", "", "d"]})",
         [](AppSettings& s) { s.recentFiles = {u"C:\\[x]\\a.bin", u"b \"q\" ]", u"", u"d"}; }},
        {R"({"recentFiles": "a"})", none},
        {"{\"recentFiles\": [\"a\xFF" "b\", \"c\"]}", [](AppSettings& s) { s.recentFiles = {u"a\uFFFDb", u"c"}; }},
        {"{\"recentFiles\": [" + std::string(big, '"') + "]}", [](AppSettings& s) { s.recentFiles.assign(16, u""); }},
        {"{\"recentFiles\": [" + std::string(big + 1, '"') + "]}", none},
        {R"({"searchHistory": [{"kind": "text", "query": "a"}, {"kind": "hex"}, {"query": "b", "kind": "hex"},
            {"kind": "text", "query": 5}, 7, {"kind": "text", "query": "{[c]}"}]})",
         [](AppSettings& s) { s.searchHistory = {{u"text", u"a"}, {u"hex", u"b"}, {u"text", u"{[c]}"}}; }},
        {R"({"searchHistory": [{"kind": "text", "query": "a"}, {"kind": "hex", "query": "b"]}})",
         [](AppSettings& s) { s.searchHistory = {{u"text", u"a"}}; }},
        {history + "{}]}", [&](AppSettings& s) { s.searchHistory = first16; }},
        // A byte order mark, line feeds, tabs, other key orders and extra keys.
        {"\xEF\xBB\xBF{\n\t\"comment\": \"by hand\",\n\t\"font\": { \"size\": 11, \"family\": \"MS Gothic\" },\n"
         "\t\"analysis\": { \"structView\": { \"extra\": {\"nested\": [1, 2]}, \"endian\": \"little\" } },\n"
         "\t\"searchHistory\" : [ { \"query\" : \"4D\" , \"kind\" : \"hex\" } ],\n\t\"theme\": \"Black\"\n}\n",
         [](AppSettings& s) {
             s.fontSize = 11.0f;
             s.fontFamily = u"MS Gothic";
             s.byteOrder = ByteOrder::Little;
             s.searchHistory = {{u"hex", u"4D"}};
             s.theme = Theme::Black;
         }},
        {std::string(10u << 20, '['), none},
        {std::string(big, '{'), none},
        {"{\"analysis\": " + std::string(big, '{'), none},
        {"{\"searchHistory\": [" + std::string(big, '{') + "]}", none},
        {"{\"searchHistory\": [" + std::string(big / 2, '{') + std::string(big / 2, '}') + "]}", none},
        {"{\"theme\": \"" + std::string(big, '\\'), none},
        {"{\"font\": {\"size\": " + std::string(big, '9'), none},
        {std::string(big, '"') + "\"theme\"" + std::string(big, ':'), none},
    };
    for (const auto& c : kCases) {
        AppSettings expected = Distinct();
        expected.recentFiles.clear();
        expected.searchHistory.clear();
        c.change(expected);
        WriteText(path_, c.text);
        AppSettings read = Distinct();
        EXPECT_TRUE(ReadSettingsFile(read, path_));
        EXPECT_EQ(read, expected) << c.text.substr(0, 80);
    }
    // A file that cannot be read (here a folder) changes nothing.
    AppSettings read = Distinct();
    EXPECT_FALSE(ReadSettingsFile(read, dir_.Path().u16string()));
    EXPECT_EQ(read, Distinct());
}

// The start-up from each state of the file: the record taken, and the file after, which is
// either the record written or what was there before (the folder's entries unchanged).
TEST(SettingsStartup, TakesAndWritesTheRecordAsTheFileAllows) {
    const char* const kFile = "tavro.settings.json";
    const std::string current = R"({"appVersion": "v1.02", "theme": "Light", "font": {"family": "", "size": -2}})";
    AppSettings light = FirstStartSettings(Language::System), black = light;
    light.theme = Theme::Light;  // a bad font is corrected in memory only
    black.theme = Theme::Black;
    black.recentFiles = {u"x.bin"};
    const auto older = [](const std::string& version) {
        return "{" + version + R"("theme": "Black", "recentFiles": ["x.bin"], "font": {"size": 0}})";
    };
    const struct {
        const char* path;      // the settings file's, in the test's folder
        const char* existing;  // a file there before, holding text
        std::string text;
        Language firstStart;
        std::optional<AppSettings> loaded;  // none: the first-start record
        bool written;
    } kCases[] = {
        {kFile, "", "", Language::Japanese, {}, true},
        {kFile, kFile, current, Language::Japanese, light, false},
        // Only a file of another version is rewritten.
        {kFile, kFile, older(R"("appVersion": "v1.01", )"), Language::English, black, true},
        {kFile, kFile, older(R"("appVersion": "", )"), Language::English, black, true},
        {kFile, kFile, older(""), Language::English, black, true},
        // A folder in the file's place cannot be read, and its replacement fails in turn.
        {kFile, "tavro.settings.json/inside.txt", "x", Language::Japanese, {}, false},
        // A missing folder, and a folder part naming a file, count as a first start.
        {"missing/tavro.settings.json", "", "", Language::English, {}, false},
        {"plain/tavro.settings.json", "plain", "x", Language::Japanese, {}, false},
#ifndef _WIN32
        // A file whose existence cannot be told (a folder that cannot be searched) is neither
        // read nor replaced.
        {"locked/tavro.settings.json", "locked/tavro.settings.json", current, Language::English, {}, false},
#endif
    };
    for (const auto& c : kCases) {
        test::TempDir dir;
        const fs::path path = dir.Path() / c.path, existing = dir.Path() / c.existing;
        if (*c.existing) {
            fs::create_directories(existing.parent_path());
            WriteText(existing.u16string(), c.text);
        }
        const std::vector<std::string> entries = dir.List();
        const bool locked = std::string(c.path).starts_with("locked");
        if (locked) fs::permissions(dir.Path() / "locked", fs::perms::none);
        std::error_code error;
        if (locked && fs::exists(path, error)) continue;  // this user passes folder permissions
        AppSettings settings = Distinct();
        LoadSettingsAtStartup(settings, path.u16string(), c.firstStart);
        if (locked) fs::permissions(dir.Path() / "locked", fs::perms::owner_all);
        const AppSettings expected = c.loaded.value_or(FirstStartSettings(c.firstStart));
        EXPECT_EQ(settings, expected) << c.path << " " << c.text;
        if (c.written) {
            EXPECT_EQ(FileText(path.u16string()), SerializeSettings(expected)) << c.text;
        } else if (*c.existing) {
            EXPECT_EQ(FileText(existing.u16string()), c.text) << c.path;
        }
        EXPECT_EQ(dir.List(), c.written ? std::vector<std::string>{"tavro.settings.json"} : entries) << c.path;
    }
}

TEST_F(SettingsFile, RecentFilesPutTheOpenedFileFirstOnceAndAreSaved) {
    AddRecentFile(settings_, u"", path_);  // ignored
    EXPECT_FALSE(test::FileExists(path_));
    // The same file under other case (beyond ASCII too) and redundant steps is moved up.
    settings_.recentFiles = {InDir(u"one.bin"), InDir(u"Data.BIN"), InDir(u"two.bin"), InDir(u"sub/../DATA.bin"),
                             InDir(u"ÄRGER.bin"), InDir(u"Ωmega.bin")};
    const std::u16string opened = (dir_.Path() / "." / "data.bin").u16string();
    AddRecentFile(settings_, opened, path_);
    AddRecentFile(settings_, InDir(u"ärger.bin"), path_);
    AddRecentFile(settings_, InDir(u"ωMEGA.bin"), path_);
    EXPECT_EQ(settings_.recentFiles, (std::vector<std::u16string>{InDir(u"ωMEGA.bin"), InDir(u"ärger.bin"), opened,
                                                                  InDir(u"one.bin"), InDir(u"two.bin")}));
    AppSettings read;
    ASSERT_TRUE(ReadSettingsFile(read, path_));
    EXPECT_EQ(read, settings_);
    // A seventeenth file drops the oldest.
    for (int i = 0; i < 17; ++i) AddRecentFile(settings_, InDir(u"f" + fs::path(std::to_string(i)).u16string()), path_);
    ASSERT_EQ(settings_.recentFiles.size(), 16u);
    EXPECT_EQ(settings_.recentFiles.front(), InDir(u"f16"));
    EXPECT_EQ(settings_.recentFiles.back(), InDir(u"f1"));
}

// Unpackaged (as the tests run), the file lies beside the executable.
TEST(SettingsLocation, UnpackedTheFileLiesBesideTheExecutable) {
    const std::u16string directory = platform::ExecutableDirectory();
    EXPECT_EQ(fs::path(ComputeSettingsPath(directory)), fs::path(directory) / "tavro.settings.json");
}

// Each fault injected between writing a first record and writing a longer one must fail the
// write with the system's message, and leave the previous file byte-identical and no
// temporary file behind.
TEST(SettingsWriteSafety, AFailedWriteLosesNothing) {
    enum Fault { FullDisk, WriteCutShort, ReadOnlyFolder, HeldOpen };
    for (const Fault fault : {FullDisk, WriteCutShort, ReadOnlyFolder, HeldOpen}) {
        test::TempDir dir;
        std::optional<test::SmallFileSystem> disk;
        if (fault == FullDisk && !disk.emplace(dir.Path(), 64 * 1024).Unavailable().empty()) {
            std::printf("no small file system to fill: %s\n", disk->Unavailable().c_str());
            continue;
        }
        const fs::path folder = disk ? disk->Path() : dir.Path();
        const std::u16string path = (folder / "tavro.settings.json").u16string();
        ASSERT_TRUE(WriteSettingsFile(AppSettings{}, path));
        const test::Bytes before = test::ReadFileBytes(path);
        AppSettings changed = Distinct();
        changed.recentFiles.assign(16, u"/a/rather/long/path/to/make/the/file/bigger/than/before.bin");
        platform::FileHandle holder;
#ifndef _WIN32
        std::optional<test::FileSizeLimit> limit;
#endif
        platform::ErrorCode expected = 0;  // 0: any error with a message
        std::u16string probe;
        switch (fault) {
        case FullDisk:
            test::FillFileSystem(folder);
            expected = ENOSPC;
            break;
#ifndef _WIN32
        case WriteCutShort:  // as a full disk would, for root too, unlike folder permissions
            ASSERT_TRUE(limit.emplace(100).Set());
            expected = EFBIG;
            break;
        case ReadOnlyFolder:
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
            expected = EACCES;
            if (!platform::CreateUniqueFile(folder.u16string(), u"PRB", probe)) break;
            platform::RemoveFile(probe);  // this user may write into read-only folders
            fs::permissions(folder, fs::perms::owner_all);
            continue;
#else
        case HeldOpen:  // by another program, without delete sharing: the file cannot be replaced
            holder = platform::OpenExistingForWriting(path);
            ASSERT_TRUE(holder.IsOpen());
            break;
#endif
        default:
            continue;
        }
        const std::vector<std::string> entries = test::ListFolder(folder);
        EXPECT_FALSE(WriteSettingsFile(changed, path)) << fault;
        const platform::ErrorCode error = platform::LastError();
        holder.Close();
#ifndef _WIN32
        limit.reset();  // before anything is printed, which may go to a file
#endif
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_FALSE(platform::SystemErrorText(error).empty()) << fault;
        EXPECT_EQ(platform::SystemErrorText(error), platform::SystemErrorText(expected ? expected : error)) << fault;
        EXPECT_EQ(test::ReadFileBytes(path), before) << fault;
        EXPECT_EQ(test::ListFolder(folder), entries) << fault;
    }
}

}  // namespace
}  // namespace tvx
