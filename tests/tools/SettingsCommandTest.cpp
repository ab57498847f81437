#include "platform/AppLocation.h"
#include "settings/SettingsLifecycle.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::RunCommand;

void WriteText(const std::u16string& path, const std::string& text) {
    test::WriteFileBytes(path, test::Bytes(text.begin(), text.end()));
}

TEST(SettingsCommand, PrintsTheRecordAsTavroReadsIt) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    WriteText(path, "\xEF\xBB\xBF{\n\"theme\": \"Black\", \"font\": {\"family\": \"Mono\", \"size\": 10.5, \"italic\": true},\n"
                    "\"recentFiles\": [\"C:\\\\a\\tb.bin\", \"d.bin\"],\n"
                    "\"searchHistory\": [{\"kind\": \"hex\", \"query\": \"4D 5A\"}], \"appVersion\": \"v1.02\"}\n");
    const auto result = RunCommand(cli::kSettingsCommand, {path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "file:          " + platform::EncodeUtf8(path) +
                              "\n"
                              "appVersion:    v1.02\n"
                              "encoding:      Ascii\n"
                              "theme:         Black\n"
                              "language:      System\n"
                              "font:          Mono, 10.5 pt, italic\n"
                              "dataInspector: shown\n"
                              "structView:    hidden; byte arrays hex, byte order little, numbers hex\n"
                              "recentFiles:   2\n"
                              "  1  C:\\a\\x09b.bin\n"
                              "  2  d.bin\n"
                              "searchHistory: 1\n"
                              "  1  hex  4D 5A\n");
}

TEST(SettingsCommand, NotesAVersionTavroWillRewrite) {
    test::TempDir dir;
    const auto path = dir.File("old.json");
    WriteText(path, "{\"appVersion\": \"v1.01\"}");
    const auto result = RunCommand(cli::kSettingsCommand, {path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.ends_with("note: the version is not v1.02; Tavro rewrites the file at its next start\n"));
}

TEST(SettingsCommand, WithoutAPathReadsTheFileWhereTavroKeepsIt) {
    const std::string expected = platform::EncodeUtf8(ComputeSettingsPath(platform::ExecutableDirectory()));
    const auto result = RunCommand(cli::kSettingsCommand, {});
    if (result.exitCode == 0)
        EXPECT_TRUE(result.out.starts_with("file:          " + expected + "\n"));
    else
        EXPECT_NE(result.err.find("'" + expected + "'"), std::string::npos) << result.err;
}

TEST(SettingsCommand, ErrorsExplain) {
    test::TempDir dir;
    const auto missing = RunCommand(cli::kSettingsCommand, {dir.File("missing.json")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.starts_with("tavro-cli: cannot read '" + platform::EncodeUtf8(dir.File("missing.json")) + "': "))
        << missing.err;
}

// The record shows what Tavro would use; standard error names what it passed over.
TEST(SettingsCommand, NamesWhatTheReaderIgnored) {
    test::TempDir dir;
    const auto path = dir.File("s.json");
    const struct {
        std::string text;
        int exitCode;
        std::string warning;  // empty: none
    } cases[] = {
        {"{\"theme\": \"Black\", \"list\": [1, {\"a\": [true, null]}], \"n\": -1.5e3}", 0, ""},
        {"{\"theme\": \"drak\"}", 0, "theme: \"drak\" is not a known value; the default DarkBlue is used"},
        {"{\"analysis\": {\"structView\": {\"endian\": \"middle\"}}}", 0, "endian: \"middle\""},
        {"{\"theme\": \"Black\", \"font\": {", 1, "not valid JSON (at byte 28)"},
        {"\x1B[2J garbage", 1, "not valid JSON (at byte 0)"},
    };
    for (const auto& c : cases) {
        WriteText(path, c.text);
        const auto result = RunCommand(cli::kSettingsCommand, {path});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.text;
        EXPECT_TRUE(result.out.starts_with("file:")) << c.text;
        if (c.warning.empty()) EXPECT_EQ(result.err, "") << c.text;
        else EXPECT_NE(result.err.find(c.warning), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace tvx
