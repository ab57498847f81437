#include "tests/structpattern/SampleFiles.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::RunCommand;

TEST(StructCommand, ShowsABitmapsDimensions) {
    test::TempDir dir;
    const auto bmp = dir.File("picture.bmp");
    test::WriteFileBytes(bmp, test::MakeBmp(37, 21, 32));
    const auto result = RunCommand(cli::kStructCommand, {u"patterns/bmp.tvsd", bmp, u"--base", u"dec"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("entry = BmpFile\nsizeof_short = 2\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\n\nName                     Offset  Value  Size\n"
                              "file : BITMAPFILEHEADER  0x0            14\n"
                              "  bfType                 0x0     19778  2\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("  biWidth                0x12    37     4\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  biHeight               0x16    21     4\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  biBitCount             0x1C    32     2\n"), std::string::npos) << result.out;
}

TEST(StructCommand, TsvRowsFollowTheFormatOptions) {
    test::TempDir dir;
    const auto pattern = dir.File("p.tvsd");
    const std::string source = "struct Rec { char tag[4]; uint16_t n; char rest[]; };";
    test::WriteFileBytes(pattern, test::Bytes(source.begin(), source.end()));
    const auto data = dir.File("d.bin");
    test::WriteFileBytes(data, {0xEE, 'A', 'B', 'C', 0, 0x12, 0x34, 'x', 'y'});
    auto result = RunCommand(cli::kStructCommand,
                             {pattern, data, u"--offset", u"1", u"--tsv", u"--format", u"ascii", u"--endian", u"big"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "tag\t0x1\t\"ABC\"\t4\nn\t0x5\t0x1234\t2\nrest\t0x7\t\"xy\"\t1+\n");
    // At the end of the file every value is unavailable.
    result = RunCommand(cli::kStructCommand, {pattern, data, u"--offset", u"9", u"--tsv"});
    EXPECT_EQ(result.out, "tag\t0x9\t-\t4\nn\t0xD\t-\t2\nrest\t0xF\t-\t1+\n");
}

TEST(StructCommand, LoadErrorsPrintTheWholeText) {
    test::TempDir dir;
    const auto pattern = dir.File("bad.tvsd");
    const std::string source = "struct S {\r\n  int a, b;\r\n};\r\n";
    test::WriteFileBytes(pattern, test::Bytes(source.begin(), source.end()));
    const auto data = dir.File("d.bin");
    test::WriteFileBytes(data, {1, 2, 3});
    const auto result = RunCommand(cli::kStructCommand, {pattern, data});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(":\nLine 2, Col 3: Multiple declarators are not supported in v1.\n  int a, b;\n  ^\n"),
              std::string::npos)
        << result.err;
}

TEST(StructCommand, UsageAndFileErrors) {
    test::TempDir dir;
    const auto data = dir.File("d.bin");
    test::WriteFileBytes(data, {1});
    EXPECT_EQ(RunCommand(cli::kStructCommand, {u"patterns/gif.tvsd"}).exitCode, 2);
    EXPECT_EQ(RunCommand(cli::kStructCommand, {u"patterns/gif.tvsd", data, u"--format", u"oct"}).exitCode, 2);
    EXPECT_EQ(RunCommand(cli::kStructCommand, {u"patterns/gif.tvsd", data, u"--endian", u"middle"}).exitCode, 2);
    EXPECT_EQ(RunCommand(cli::kStructCommand, {u"patterns/gif.tvsd", data, u"--offset", u"zz"}).exitCode, 2);
    EXPECT_EQ(RunCommand(cli::kStructCommand, {u"patterns/gif.tvsd", dir.File("missing")}).exitCode, 1);
    const auto missingPattern = RunCommand(cli::kStructCommand, {dir.File("missing.tvsd"), data});
    EXPECT_EQ(missingPattern.exitCode, 1);
    EXPECT_NE(missingPattern.err.find("Failed to open definition file."), std::string::npos);
}

}  // namespace
}  // namespace tvx
