#include "platform/FileContents.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace tvx::platform {
namespace {

TEST(FileContents, ReadsTheWholeFileUpToTheLimit) {
    test::TempDir dir;
    test::Bytes bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    test::WriteFileBytes(dir.File("a"), bytes);
    std::string read;
    ASSERT_TRUE(ReadFileContents(dir.File("a"), 1u << 20, read));
    EXPECT_EQ(test::Bytes(read.begin(), read.end()), bytes);
    ASSERT_TRUE(ReadFileContents(dir.File("a"), 70000, read));
    EXPECT_EQ(test::Bytes(read.begin(), read.end()), test::Bytes(bytes.begin(), bytes.begin() + 70000));
}

TEST(FileContents, AnEmptyFileIsEmptyAndAMissingOneFails) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("empty"), {});
    std::string read = "old";
    ASSERT_TRUE(ReadFileContents(dir.File("empty"), 100, read));
    EXPECT_TRUE(read.empty());
    read = "old";
    EXPECT_FALSE(ReadFileContents(dir.File("missing"), 100, read));
    EXPECT_TRUE(read.empty());
}

}  // namespace
}  // namespace tvx::platform
