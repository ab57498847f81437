#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::RunCommand;

TEST(InspectCommand, PrintsTheElevenRowsInAlignedColumns) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48});

    const auto result = RunCommand(cli::kInspectCommand, {path, u"0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Binary     0b0100_0001\n"
              "UInt8      0x41 / 65\n"
              "UInt16 LE  0x4241 / 16961\n"
              "UInt16 BE  0x4142 / 16706\n"
              "UInt32 LE  0x44434241 / 1145258561\n"
              "UInt32 BE  0x41424344 / 1094861636\n"
              "UInt64 LE  0x4847464544434241 / 5208208757389214273\n"
              "UInt64 BE  0x4142434445464748 / 4702394921427289928\n"
              "UTF-8      A (U+0041)\n"
              "UTF-16 LE  n/a\n"
              "UTF-16 BE  n/a\n");
}

TEST(InspectCommand, TsvNearTheEnd) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0xC3, 0xA9});

    const auto result = RunCommand(cli::kInspectCommand, {u"--tsv", path, u"0x7"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Binary\t0b1100_0011\n"
              "UInt8\t0xC3 / 195\n"
              "UInt16 LE\t0xA9C3 / 43459\n"
              "UInt16 BE\t0xC3A9 / 50089\n"
              "UInt32 LE\tn/a\n"
              "UInt32 BE\tn/a\n"
              "UInt64 LE\tn/a\n"
              "UInt64 BE\tn/a\n"
              "UTF-8\t\xC3\xA9 (U+00E9)\n"
              "UTF-16 LE\tn/a\n"
              "UTF-16 BE\tn/a\n");
}

TEST(InspectCommand, AtTheEndEveryRowIsUnavailable) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {0x41, 0x42});
    const auto result = RunCommand(cli::kInspectCommand, {path, u"2", u"--tsv"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Binary\tn/a\nUInt8\tn/a\nUInt16 LE\tn/a\nUInt16 BE\tn/a\nUInt32 LE\tn/a\nUInt32 BE\tn/a\n"
              "UInt64 LE\tn/a\nUInt64 BE\tn/a\nUTF-8\tn/a\nUTF-16 LE\tn/a\nUTF-16 BE\tn/a\n");
}

// A raw control character would reach the terminal; it is written as an escape.
TEST(InspectCommand, ControlCharactersAreEscaped) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {0x1B, 0x5B, 0xC2, 0x9B});
    auto result = RunCommand(cli::kInspectCommand, {path, u"0", u"--tsv"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("UTF-8\t\\x1B (U+001B)\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find('\x1B'), std::string::npos);

    result = RunCommand(cli::kInspectCommand, {path, u"2", u"--tsv"});
    EXPECT_NE(result.out.find("UTF-8\t\\x9B (U+009B)\n"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace tvx
