#include "document/FileViewModel.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using test::Bytes;

TEST(FileViewModel, EmptyFileOpensAndYieldsNoBytes) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("empty"), {});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("empty")));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.ReadBytes(0, 10).bytes.empty());
}

TEST(FileViewModel, ReadsAreCutAtTheEnd) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("f"), {10, 20, 30, 40});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("f")));
    EXPECT_EQ(file.GetPath(), dir.File("f"));
    const ByteBlock last = file.ReadBytes(3, 100);
    EXPECT_EQ(last.offset, 3u);
    EXPECT_EQ(last.bytes, Bytes({40}));
    EXPECT_TRUE(file.ReadBytes(4, 1).bytes.empty());
    EXPECT_TRUE(file.ReadBytes(1, 0).bytes.empty());
    EXPECT_EQ(file.ReadBytes(1, 2).bytes, Bytes({20, 30}));
    EXPECT_TRUE(file.ReadBytes(~std::uint64_t{0}, ~std::uint64_t{0}).bytes.empty());
}

TEST(FileViewModel, FailedOpenLeavesItClosedEvenAfterAnotherFile) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("f"), {1});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("f")));
    EXPECT_FALSE(file.Open(dir.File("missing")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.GetPath().empty());
    EXPECT_TRUE(file.ReadBytes(0, 1).bytes.empty());
    EXPECT_FALSE(file.Open(dir.Path().u16string()));  // a directory
    EXPECT_FALSE(file.IsOpen());
}

TEST(FileViewModel, SizeIsASnapshotTakenAtOpen) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("f"), {1, 2});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("f")));
    test::WriteFileBytes(dir.File("f"), {5, 6, 7, 8});  // another program rewrites it
    EXPECT_EQ(file.GetSize(), 2u);
    EXPECT_EQ(file.ReadBytes(0, 10).bytes, Bytes({5, 6}));
}

}  // namespace
}  // namespace tvx
