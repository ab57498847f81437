#include "tests/support/TempDir.h"
#include "tests/tools/RunCommand.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::RunCommand;

TEST(HashCommand, PrintsEachAlgorithmOnceInTheOrderAskedOverTheRange) {
    test::TempDir dir;
    const auto path = dir.File("f.bin");
    test::WriteFileBytes(path, {'x', 'a', 'b', 'c', 'x'});

    auto result = RunCommand(cli::kHashCommand, {path, u"--offset", u"1", u"--length", u"3", u"--algorithm", u"crc32",
                                                 u"--algorithm", u"SHA1", u"--algorithm", u"crc32"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "crc32  352441c2\n"
              "sha1  a9993e364706816aba3e25717850c26c9cd0d89d\n");

    result = RunCommand(cli::kHashCommand, {path, u"--offset", u"1", u"--algorithm", u"md5"});
    EXPECT_EQ(result.out, "md5  b1a85930d233609029cc0b18a97b2d5d\n");  // "abcx"
    result = RunCommand(cli::kHashCommand, {path, u"--offset", u"5"});
    EXPECT_EQ(result.out, "sha256  e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\n");
}

}  // namespace
}  // namespace tvx
