// The settings file: the key scanner, the fixed layout written, any layout read, the load at
// start-up, the writes after each change, and writes that fail without losing the previous file.

#include "settings/JsonScan.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLifecycle.h"

#include "platform/AppLocation.h"
#include "platform/File.h"
#include "platform/Utf8.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <locale>
#include <random>
#include <string>
#include <vector>

namespace tvx {
namespace {

namespace fs = std::filesystem;

// The result of one scanner lookup of key "k" as text, "<none>" when it fails: s string,
// b bool, f float, o object start, a string array (joined by "|"), h search history.
std::string Lookup(char kind, std::string_view text) {
    std::string out;
    const auto add = [&](const std::string& item) { out += (out.empty() ? "" : "|") + item; };
    char number[32];
    switch (kind) {
    case 's':
        return ReadStringValue(text, "k", 0).value_or("<none>");
    case 'b':
        if (const auto value = ReadBoolValue(text, "k", 0)) return *value ? "true" : "false";
        return "<none>";
    case 'f':
        if (const auto value = ReadFloatValue(text, "k", 0)) {
            std::snprintf(number, sizeof number, "%g", static_cast<double>(*value));
            return number;
        }
        return "<none>";
    case 'o':
        if (const auto value = FindObjectStart(text, "k", 0)) return std::to_string(*value);
        return "<none>";
    case 'a':
        for (const std::u16string& item : ReadStringArray(text, "k", 16)) add(platform::EncodeUtf8(item));
        return out;
    default:
        for (const SearchHistoryEntry& e : ReadSearchHistory(text, 16))
            add(platform::EncodeUtf8(e.kind) + ":" + platform::EncodeUtf8(e.query));
        return out;
    }
}

TEST(JsonScan, LookupsTakeWhatIsThereAndFailOtherwise) {
    const struct {
        char kind;
        std::string_view text;
        std::string result;
    } kCases[] = {
        {'s', R"({"k": "\u00e9\u3042\uD83D\uDE00"})", "\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"},
        {'s', R"({"k": "\uD83Dx"})", "\xEF\xBF\xBDx"},  // a lone surrogate
        {'s', R"({"k": "\u12G4"})", "u12G4"},           // not an escape
        {'s', R"({"k": "\u12"})", "u12"},
        {'s', R"({"k": "\q\/\\\""})", "q/\\\""},  // other escaped bytes literally
        {'s', R"({"a": "k", "k" : "Black"})", "Black"},
        {'s', R"({"k")", "<none>"},
        {'s', R"({"k": 12, "size": "x"})", "<none>"},  // never the next string instead
        {'b', "{\"k\":\r\n\t true}", "true"},
        {'b', R"({"k": false})", "false"},
        {'b', R"({"k": fals)", "<none>"},
        {'f', R"({"k": 10.5})", "10.5"},
        {'f', R"({"k": +9})", "9"},
        {'f', R"({"k": "12"})", "<none>"},  // no number
        {'f', R"({"k": 1e3})", "1"},      // no exponent
        {'f', R"({"k": 1000000000000000000000000000000000000000000000000000000})", "<none>"},  // out of range
        {'o', R"({"k": {"s": "}{", "b": {}}})", "6"},
        {'o', R"({"k": 1})", "<none>"},
        {'o', R"({"k": {"s": "unterminated})", "<none>"},
        {'a', R"({"k": ["C:\\[x]\\a.bin", "b \"q\" ]", "", "d"]})", "C:\\[x]\\a.bin|b \"q\" ]||d"},
        {'a', R"({"k": "a"})", ""},
        {'h', R"({"searchHistory": [{"kind": "text", "query": "a"}, {"kind": "hex"}, {"query": "b", "kind": "hex"},
            {"kind": "text", "query": 5}, 7, {"kind": "text", "query": "{[c]}"}]})", "text:a|hex:b|text:{[c]}"},
        {'h', R"({"searchHistory": [{"kind": "text", "query": "a"}, {"kind": "hex", "query": "b"]}})", "text:a"},
    };
    for (const auto& c : kCases) EXPECT_EQ(Lookup(c.kind, c.text), c.result) << c.kind << " " << c.text;
    const std::string nested = R"({"v": "1", "o": {"v": "2"}})";
    EXPECT_EQ(ReadStringValue(nested, "v", nested.find("\"o\"")), "2");  // from the given position
    // The history stops at its limit (the recent files at theirs: see the settings file cases).
    std::string history = R"({"searchHistory": [)", firstQueries;
    for (int i = 0; i < 40; ++i) {
        history += R"({"kind": "text", "query": ")" + std::to_string(i) + "\"}, ";
        if (i < 16) firstQueries += (i == 0 ? "text:" : "|text:") + std::to_string(i);
    }
    EXPECT_EQ(Lookup('h', history + "{}]}"), firstQueries);
}

// A record in which every field differs from the record defaults; its version holds
// characters written with short escapes, four-digit escapes and unescaped.
AppSettings Distinct() {
    return {false, true, ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec, u"v0.9\b\t\n\f\r\x01\x1F/\x7F",
            TextEncoding::Utf8,
            Theme::Light, Language::English, u"MS \u30B4\u30B7\u30C3\u30AF", 10.5f, true, true,
            {u"C:\\a.bin", u"D:\\b c\\d.dat"}, {{u"text", u"MZ"}, {u"hex", u"4D 5A"}}};
}

TEST(SettingsWriter, TheFixedLayout) {
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
}

// A locale that writes "10,5": the writer must not follow it.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
    char do_thousands_sep() const override { return '.'; }
};

TEST(SettingsWriter, NumbersAndEnumerationsOutOfRange) {
    AppSettings s;
    s.encoding = static_cast<TextEncoding>(7);
    s.theme = static_cast<Theme>(-1);
    s.language = static_cast<Language>(3);
    s.byteArrayFormat = static_cast<ByteArrayFormat>(2);
    s.byteOrder = static_cast<ByteOrder>(5);
    s.numericBase = static_cast<NumericBase>(9);
    EXPECT_EQ(SerializeSettings(s), SerializeSettings(AppSettings{}));  // written as the fallbacks
    // Six significant digits, no exponent (the reader takes none), whatever the global locale.
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    std::string sizes;
    for (const float size : {10.5f, 1234.0f, 8.333333f, 12345678.0f, 0.0000123456789f}) {
        s.fontSize = size;
        const std::string text = SerializeSettings(s);
        const std::size_t at = text.find("\"size\": ") + 8;
        sizes += text.substr(at, text.find(',', at) - at) + " ";
    }
    std::locale::global(previous);
    EXPECT_EQ(sizes, "10.5 1234 8.33333 12345700 0.0000123457 ");
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
    // Reads text as a settings file into a copy of start.
    AppSettings Read(const std::string& text, const AppSettings& start) {
        WriteText(path_, text);
        AppSettings settings = start;
        EXPECT_TRUE(ReadSettingsFile(settings, path_));
        return settings;
    }
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

TEST_F(SettingsFile, EditedAndMalformedFilesChangeOnlyWhatTheyHold) {
    using Change = void (*)(AppSettings&);
    const struct {
        std::string text;
        Change change;
    } kCases[] = {
        {"not json at all { [ \"", [](AppSettings&) {}},
        // Unknown names fall back; empty ones are ignored.
        {R"({"theme": "Dark", "encoding": "utf8", "language": "Klingon", "analysis": {"structView":
            {"byteArrayFormat": "ASCII", "endian": "", "numericBase": "decimal"}}})",
         [](AppSettings& s) {
             s = AppSettings{false, true, ByteArrayFormat::Hex, ByteOrder::Little, NumericBase::Hex, s.appVersion,
                             TextEncoding::Ascii, Theme::DarkBlue, Language::System, s.fontFamily, s.fontSize, true,
                             true, {}, {}};
         }},
        // The font: a positive size, keys from the "font" key on only.
        {R"({"font": {"size": 0}})", [](AppSettings&) {}},
        {R"({"family": "Early", "bold": false, "font": {"italic": false}})", [](AppSettings& s) { s.italic = false; }},
        // Without a closed "analysis" object the visibility flags are not looked for at all.
        {R"({"dataInspector": {"visible": true}, "analysis": {"structView": {"visible": false})",
         [](AppSettings&) {}},
        {R"({"analysis": {"dataInspector": {"visible": true}}})", [](AppSettings& s) { s.dataInspectorVisible = true; }},
        {"{\"recentFiles\": [\"a\xFF" "b\", \"c\"]}", [](AppSettings& s) { s.recentFiles = {u"a\uFFFDb", u"c"}; }},
        {"{\"recentFiles\": [" + std::string(1u << 20, '"') + "]}",
         [](AppSettings& s) { s.recentFiles.assign(16, u""); }},
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
    };
    for (const auto& c : kCases) {
        AppSettings expected = Distinct();
        expected.recentFiles.clear();
        expected.searchHistory.clear();
        c.change(expected);
        EXPECT_EQ(Read(c.text, Distinct()), expected) << c.text.substr(0, 80);
    }
    // Many key lookalikes still find the real key.
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "\"theme\" ";
    EXPECT_EQ(Read(text + "\"theme\": \"Black\"", Distinct()).theme, Theme::Black);
    // A file that cannot be read (here a folder) changes nothing.
    AppSettings settings = Distinct();
    EXPECT_FALSE(ReadSettingsFile(settings, dir_.Path().u16string()));
    EXPECT_EQ(settings, Distinct());
}

TEST_F(SettingsFile, HostileFilesAreReadWithoutHarm) {
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
    AppSettings expected = Distinct();
    expected.recentFiles.clear();
    expected.searchHistory.clear();
    for (const std::string& text : hostile) EXPECT_EQ(Read(text, Distinct()), expected) << text.substr(0, 40);
}

using SettingsStartup = SettingsFile;

TEST_F(SettingsStartup, AFirstStartWritesTheFileWithTheUsersLanguage) {
    LoadSettingsAtStartup(settings_, path_, Language::Japanese);
    AppSettings expected;
    expected.appVersion = u"v1.02";
    expected.language = Language::Japanese;
    EXPECT_EQ(settings_, expected);
    EXPECT_EQ(FileText(path_), SerializeSettings(expected));
}

TEST_F(SettingsStartup, OnlyAFileOfAnotherVersionIsRewritten) {
    const std::string current = R"({"appVersion": "v1.02", "theme": "Light", "font": {"family": "", "size": -2}})";
    WriteText(path_, current);
    LoadSettingsAtStartup(settings_, path_, Language::Japanese);
    AppSettings expected = FirstStartSettings(Language::System);
    expected.theme = Theme::Light;  // a bad font is corrected in memory only
    EXPECT_EQ(settings_, expected);
    EXPECT_EQ(FileText(path_), current);
    for (const std::string version : {"\"appVersion\": \"v1.01\", ", "\"appVersion\": \"\", ", ""}) {
        WriteText(path_, "{" + version + "\"theme\": \"Black\", \"recentFiles\": [\"x.bin\"], \"font\": {\"size\": 0}}");
        settings_ = AppSettings{};
        LoadSettingsAtStartup(settings_, path_, Language::English);
        expected = FirstStartSettings(Language::System);
        expected.theme = Theme::Black;
        expected.recentFiles = {u"x.bin"};
        EXPECT_EQ(settings_, expected) << version;
        EXPECT_EQ(FileText(path_), SerializeSettings(expected)) << version;
    }
}

TEST_F(SettingsStartup, AFileThatCannotBeReadGivesTheFirstStartRecordAndLosesNothing) {
    // A directory in the file's place cannot be read, and its replacement fails in turn.
    fs::create_directory(dir_.Path() / "tavro.settings.json");
    const std::u16string inside = InDir(u"tavro.settings.json/inside.txt");
    WriteText(inside, "x");
    settings_.theme = Theme::Light;
    LoadSettingsAtStartup(settings_, path_, Language::Japanese);
    EXPECT_EQ(settings_, FirstStartSettings(Language::Japanese));
    EXPECT_EQ(FileText(inside), "x");
    EXPECT_EQ(dir_.List(), std::vector<std::string>{"tavro.settings.json"});
    // A missing folder, and a folder part naming a file, count as a first start.
    LoadSettingsAtStartup(settings_, InDir(u"missing/tavro.settings.json"), Language::English);
    EXPECT_EQ(settings_, FirstStartSettings(Language::English));
    EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
    WriteText(InDir(u"plain"), "x");
    LoadSettingsAtStartup(settings_, InDir(u"plain/tavro.settings.json"), Language::Japanese);
    EXPECT_EQ(settings_, FirstStartSettings(Language::Japanese));
    EXPECT_EQ(FileText(InDir(u"plain")), "x");
}

#ifndef _WIN32
TEST_F(SettingsStartup, AFileWhoseExistenceCannotBeToldIsNeitherReadNorReplaced) {
    const fs::path locked = dir_.Path() / "locked";
    fs::create_directory(locked);
    path_ = (locked / "tavro.settings.json").u16string();
    WriteText(path_, R"({"theme": "Light"})");
    fs::permissions(locked, fs::perms::none);
    std::error_code error;
    if (fs::exists(locked / "tavro.settings.json", error)) {
        fs::permissions(locked, fs::perms::owner_all);
        GTEST_SKIP() << "this user passes folder permissions";
    }
    LoadSettingsAtStartup(settings_, path_, Language::English);
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(settings_, FirstStartSettings(Language::English));
    EXPECT_EQ(FileText(path_), R"({"theme": "Light"})");
}
#endif

TEST_F(SettingsStartup, RecentFilesPutTheOpenedFileFirstOnceAndAreSaved) {
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

TEST(SettingsLocation, UnpackedTheFileLiesBesideTheExecutable) {
    std::u16string packaged;
    ASSERT_FALSE(platform::PackageLocalStateDirectory(packaged)) << "tests do not run packaged";
    const std::u16string directory = platform::ExecutableDirectory();
    EXPECT_EQ(fs::path(ComputeSettingsPath(directory)), fs::path(directory) / "tavro.settings.json");
}

// A write that fails must leave the previous settings file exactly as it was and no
// temporary file behind.
AppSettings ChangedRecord() {
    AppSettings s;
    s.theme = Theme::Light;
    s.recentFiles.assign(16, u"/a/rather/long/path/to/make/the/file/bigger/than/before.bin");
    return s;
}

// Writes a first record and returns its bytes.
test::Bytes WriteOriginal(const std::u16string& path) {
    AppSettings original;
    original.fontFamily = u"Original";
    EXPECT_TRUE(WriteSettingsFile(original, path));
    return test::ReadFileBytes(path);
}

TEST(SettingsWriteSafety, AFullDiskLeavesThePreviousFileByteIdenticalWithTheSystemsMessage) {
    test::TempDir dir;
    const test::SmallFileSystem disk(dir.Path(), 64 * 1024);
    if (!disk.Unavailable().empty()) GTEST_SKIP() << "no small file system to fill: " << disk.Unavailable();
    const auto path = (disk.Path() / "tavro.settings.json").u16string();
    const test::Bytes before = WriteOriginal(path);
    test::FillFileSystem(disk.Path());

    EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
#ifndef _WIN32
    EXPECT_EQ(platform::SystemErrorText(platform::LastError()), platform::SystemErrorText(ENOSPC));
#endif
    EXPECT_EQ(test::ReadFileBytes(path), before);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"filler", "tavro.settings.json"}));
}

#ifndef _WIN32
// The file size limit makes the write of the temporary file fail part-way, as a full disk
// would; it binds root as well, unlike folder permissions.
TEST(SettingsWriteSafety, AWriteCutShortLeavesThePreviousFileByteIdentical) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    const test::Bytes before = WriteOriginal(path);

    {
        const test::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Set());
        EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
    }
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}

TEST(SettingsWriteSafety, AReadOnlyFolderLeavesThePreviousFileByteIdentical) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    const test::Bytes before = WriteOriginal(path);
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool probeCreated = [&] {
        std::u16string probe;
        if (!platform::CreateUniqueFile(dir.Path().u16string(), u"PRB", probe)) return false;
        platform::RemoveFile(probe);
        return true;
    }();
    if (probeCreated) {
        fs::permissions(dir.Path(), fs::perms::owner_all);
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}
#else
// Another program holding the settings file open without delete sharing blocks the
// replacement; the file must stay as it was.
TEST(SettingsWriteSafety, AFileHeldOpenByAnotherProgramStaysByteIdentical) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    const test::Bytes before = WriteOriginal(path);
    {
        const platform::FileHandle holder = platform::OpenExistingForWriting(path);
        ASSERT_TRUE(holder.IsOpen());
        EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
    }
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}
#endif

}  // namespace
}  // namespace tvx
