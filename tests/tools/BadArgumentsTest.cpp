// Every command's refusals: exit code, one message per kind of mistake, and nothing changed.

#include "platform/CommandLine.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#endif

namespace tvx {
namespace {

using test::RunCommand;

TEST(BadArguments, EveryCommandRefusesWithItsReason) {
    test::TempDir dir;
    const std::u16string file = dir.File("f.bin"), pattern = dir.File("p.tvsd"), folder = dir.File("sub");
    test::WriteFileBytes(file, {1, 2, 3});
    const std::string source = "struct S { char a; };";
    test::WriteFileBytes(pattern, test::Bytes(source.begin(), source.end()));
    std::filesystem::create_directory(dir.Path() / "sub");
    const char16_t undecodable[] = {u'a', 0xDCFF, 0};
    const std::u16string max = u"FFFFFFFFFFFFFFFF";
    const std::string pastEnd = "is past the end of the file (3 bytes)";

    const struct {
        const cli::Command& command;
        std::vector<std::u16string> args;
        int exitCode;
        std::string message;
    } cases[] = {
        {cli::kDumpCommand, {dir.File("missing")}, 1, "missing': "},  // the system's reason follows
        {cli::kInspectCommand, {folder, u"0"}, 1, "sub': it is a directory"},
        {cli::kDumpCommand, {file, u"--offset", u"4"}, 1, "offset 0x4 " + pastEnd},
        {cli::kFindCommand, {file, u"--hex", u"01", u"--from", u"4"}, 1, "offset 0x4 " + pastEnd},
        {cli::kInspectCommand, {file, u"4"}, 1, "offset 0x4 " + pastEnd},
        {cli::kStructCommand, {pattern, file, u"--offset", max}, 1, "offset 0xFFFFFFFFFFFFFFFF " + pastEnd},
        {cli::kPatchCommand, {file, u"del:" + max + u":0"}, 1,
         "offset 0xFFFFFFFFFFFFFFFF is past the end of the document (3 bytes); the file was not changed"},
        {cli::kPatchCommand, {file, u"del:1:5"}, 1, "5 bytes from 0x1 go past the end of the document (3 bytes)"},
        {cli::kPatchCommand, {file, u"ins:3:00", u"ow:3:AABB"}, 1, "2 bytes from 0x3 go past the end of the document (4 bytes)"},
        {cli::kDumpCommand, {file, u"--offset", u"0x10000000000000000"}, 2, "invalid offset '0x10000000000000000'"},
        {cli::kInspectCommand, {file, u"zz"}, 2, "invalid offset 'zz'"},
        {cli::kFindCommand, {file, u"--text", undecodable}, 2, "not valid UTF-8; give its bytes with --hex"},
        {cli::kFindCommand, {file, u"--text"}, 2, "expected a value after '--text'"},
        {cli::kFindCommand, {file, u"--hex", u"01", u"--text", u"a"}, 2, "expected one query"},
        {cli::kDumpCommand, {file, u"-x"}, 2, "unexpected argument '-x'"},
        {cli::kDumpCommand, {u"--", u"-x"}, 1, "cannot open '-x': "},  // after "--", a file name
        {cli::kDumpCommand, {undecodable}, 1, "cannot open 'a\\xFF': "},
        {cli::kInspectCommand, {file, u"0", u"--csv"}, 2, "unexpected argument '--csv'"},
        {cli::kStructCommand, {pattern}, 2, "expected a pattern file and a file"},
        {cli::kStructCommand, {pattern, file, u"--base", u"oct"}, 2, "invalid base 'oct'"},
        {cli::kPatchCommand, {file}, 2, "expected a file and at least one operation"},
        {cli::kPatchCommand, {file, u"zz:0:00"}, 2, "invalid operation 'zz:0:00'"},
        {cli::kReplaceCommand, {file, u"--hex", u"01", u"--with-hex", u"02", u"--from", u"4"}, 1, "offset 0x4 " + pastEnd},
        {cli::kReplaceCommand, {file, u"--hex", u"", u"--with-hex", u"02"}, 2, "pairs of hexadecimal digits"},
        {cli::kReplaceCommand, {file, u"--hex", u"01", u"--with-hex", u"0"}, 2, "pairs of hexadecimal digits"},
        {cli::kReplaceCommand, {file, u"--hex", u"01"}, 2, "expected a file, --hex or --text, and --with-hex"},
        {cli::kReplaceCommand, {file, u"--text", u"a", u"--with-text", undecodable}, 2,
         "the --with-text value is not valid UTF-8; give its bytes with --with-hex"},
        {cli::kReplaceCommand, {file, u"--hex", u"01", u"--with-hex", u"02", u"--max", u"-1"}, 2, "invalid count '-1'"},
        {cli::kHashCommand, {file, u"--offset", u"4"}, 1, "offset 0x4 " + pastEnd},
        {cli::kHashCommand, {file, u"--algorithm", u"sha3"}, 2, "unknown algorithm 'sha3'"},
        {cli::kHashCommand, {file, u"--length", u"0x10"}, 2, "invalid length '0x10'"},
        {cli::kHashCommand, {u"--algorithm", u"md5"}, 2, "expected a file"},
        {cli::kSettingsCommand, {file, file}, 2, "expected at most one path"},
        {cli::kSettingsCommand, {u"--all"}, 2, "unexpected argument '--all'"},
    };
    for (const auto& c : cases) {
        const auto result = RunCommand(c.command, c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(test::ReadFileBytes(file), (test::Bytes{1, 2, 3}));
    // The size itself is the end: an empty dump, an insert there.
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {file, u"--offset", u"3"}).exitCode, 0);
    EXPECT_EQ(RunCommand(cli::kPatchCommand, {file, u"ins:3:04"}).exitCode, 0);
    EXPECT_EQ(test::ReadFileBytes(file), (test::Bytes{1, 2, 3, 4}));
}

TEST(BadArguments, HelpOnlyWhereAnOptionMayStand) {
    const struct {
        const cli::Command& command;
        std::vector<std::u16string> args;
        bool help;
    } cases[] = {
        {cli::kDumpCommand, {u"f", u"-h"}, true},
        {cli::kPatchCommand, {u"--help", u"f"}, true},
        {cli::kFindCommand, {u"f", u"--text", u"-h"}, false},  // the query
        {cli::kStructCommand, {u"p", u"f", u"--offset", u"--help"}, false},
        {cli::kDumpCommand, {u"--", u"-h"}, false},  // a file named -h
    };
    for (const auto& c : cases) EXPECT_EQ(cli::AsksForHelp(c.command, c.args), c.help) << platform::EncodeUtf8(c.args[1]);
}

#ifndef _WIN32
std::string ReadNamed(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Names are bytes: an undecodable one reaches the right file, not its U+FFFD look-alike.
TEST(BadArguments, FileNamesArriveByteForByte) {
    test::TempDir dir;
    const std::string folder = dir.Path().string();
    std::string bytesName = folder + "/x\xFF.bin";
    const std::string lookAlike = folder + "/x\xEF\xBF\xBD.bin";
    std::ofstream(bytesName, std::ios::binary) << '0';
    std::ofstream(lookAlike, std::ios::binary) << '0';
    std::string op = "ow:0:5A";
    char program[] = "tavro-cli";
    char* argv[] = {program, bytesName.data(), op.data()};
    const std::vector<std::u16string> args = platform::CommandLineArguments(3, argv);
    EXPECT_EQ(RunCommand(cli::kPatchCommand, {args[1], args[2]}).exitCode, 0);
    EXPECT_EQ(ReadNamed(bytesName), "Z");
    EXPECT_EQ(ReadNamed(lookAlike), "0");

    // A pipe would block every command: refused before it is opened.
    const std::string fifo = folder + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto result = RunCommand(cli::kDumpCommand, {platform::DecodeUtf8(fifo)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("not a regular file"), std::string::npos) << result.err;
}
#endif

}  // namespace
}  // namespace tvx
