#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::RunCommand;

TEST(DumpCommand, PrintsRowsOfSixteenFromTheOffset) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::Bytes bytes(20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 17);
    test::WriteFileBytes(path, bytes);

    auto result = RunCommand(cli::kDumpCommand, {path, u"--offset", u"0x2", u"--length", u"17"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "00000002: 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10 21\n"
              "00000012: 32\n");

    result = RunCommand(cli::kDumpCommand, {path, u"--tsv", u"--offset", u"10"});
    EXPECT_EQ(result.out, "00000010:\t10\t21\t32\t43\n");
}

TEST(DumpCommand, EmptyRangesPrintNothingAndErrorsExplain) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {1});
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {path, u"--offset", u"5"}).out, "");
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {path, u"--length", u"0"}).out, "");
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {path, u"--offset", u"zz"}).exitCode, 2);
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {}).exitCode, 2);
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {dir.File("missing")}).exitCode, 1);
}

TEST(DumpCommand, EncodingAddsTheTextColumnAsTheViewDecodesIt) {
    test::TempDir dir;
    const auto path = dir.File("t.txt");
    test::WriteFileBytes(path, {0x41, 0xE3, 0x81, 0x82, 0x65, 0xCC, 0x81, 0xC0, 0x80});

    auto result = RunCommand(cli::kDumpCommand, {path, u"--encoding", u"utf8"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "00000000: 41 E3 81 82 65 CC 81 C0 80  A\u3042e\u0301..\n");

    result = RunCommand(cli::kDumpCommand, {path, u"--encoding", u"ascii", u"--tsv", u"--length", u"3"});
    EXPECT_EQ(result.out, "00000000:\t41\tE3\t81\tA\t.\t.\n");
    result = RunCommand(cli::kDumpCommand, {path, u"--encoding", u"utf16le", u"--tsv", u"--length", u"2"});
    EXPECT_EQ(result.out, "00000000:\t41\tE3\t\uE341\t\n");  // the second cell is empty
    EXPECT_EQ(RunCommand(cli::kDumpCommand, {path, u"--encoding", u"latin1"}).exitCode, 2);
}

}  // namespace
}  // namespace tvx
