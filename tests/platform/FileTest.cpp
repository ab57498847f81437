#include "platform/File.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace tvx::platform {
namespace {

using test::Bytes;
using test::TempDir;

TEST(File, ReadsAtPositionsAndStopsAtTheEnd) {
    TempDir dir;
    test::WriteFileBytes(dir.File("a.bin"), {1, 2, 3, 4, 5});
    const FileHandle file = OpenForReading(dir.File("a.bin"));
    ASSERT_TRUE(file.IsOpen());
    std::uint64_t size = 0;
    ASSERT_TRUE(file.QuerySize(size));
    EXPECT_EQ(size, 5u);
    unsigned char buffer[8] = {};
    std::uint32_t read = 0;
    ASSERT_TRUE(file.Seek(3));
    ASSERT_TRUE(file.Read(buffer, 8, read));
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[1], 5);
}

TEST(File, OpeningAMissingFileOrADirectoryFailsWithAnErrorText) {
    TempDir dir;
    EXPECT_FALSE(OpenForReading(dir.File("missing")).IsOpen());
    EXPECT_NE(LastError(), 0u);
    EXPECT_FALSE(SystemErrorText(LastError()).empty());
    EXPECT_FALSE(OpenForReading(dir.File("")).IsOpen());
}

TEST(File, AnOpenFileCanStillBeWrittenAndDeletedByOthers) {
    TempDir dir;
    const auto path = dir.File("shared.bin");
    test::WriteFileBytes(path, {1, 2, 3});
    const FileHandle reader = OpenForReading(path);
    ASSERT_TRUE(reader.IsOpen());
    {
        const FileHandle writer = OpenExistingForWriting(path);
        ASSERT_TRUE(writer.IsOpen());
        std::uint32_t written = 0;
        const unsigned char nine = 9;
        ASSERT_TRUE(writer.Write(&nine, 1, written));
    }
    unsigned char first = 0;
    std::uint32_t read = 0;
    ASSERT_TRUE(reader.Seek(0));
    ASSERT_TRUE(reader.Read(&first, 1, read));
    EXPECT_EQ(first, 9);
    EXPECT_TRUE(RemoveFile(path));
}

TEST(File, TruncatesAtThePosition) {
    TempDir dir;
    const auto path = dir.File("t.bin");
    test::WriteFileBytes(path, {1, 2, 3, 4});
    {
        const FileHandle writer = OpenExistingForWriting(path);
        ASSERT_TRUE(writer.Seek(1));
        ASSERT_TRUE(writer.SetEnd());
        ASSERT_TRUE(writer.Flush());
    }
    EXPECT_EQ(test::ReadFileBytes(path), Bytes({1}));
}

TEST(File, UniqueFilesCarryThePrefixAndDoNotCollide) {
    TempDir dir;
    const std::u16string directory = dir.Path().u16string();
    std::u16string first, second;
    ASSERT_TRUE(CreateUniqueFile(directory, u"TVR", first));
    ASSERT_TRUE(CreateUniqueFile(directory, u"TVR", second));
    EXPECT_NE(first, second);
    const auto names = dir.List();
    ASSERT_EQ(names.size(), 2u);
    for (const auto& name : names) {
        EXPECT_EQ(name.substr(0, 3), "TVR");
        EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    }
    EXPECT_EQ(ParentDirectory(first), ParentDirectory(dir.File("x")));
}

TEST(File, UniqueFileInAMissingDirectoryFails) {
    TempDir dir;
    std::u16string path;
    EXPECT_FALSE(CreateUniqueFile(dir.File("missing"), u"TVR", path));
}

TEST(File, MoveOverReplacesTheTarget) {
    TempDir dir;
    const auto from = dir.File("from"), to = dir.File("to");
    test::WriteFileBytes(from, {7});
    test::WriteFileBytes(to, {1, 2});
    ASSERT_TRUE(MoveOver(from, to));
    EXPECT_EQ(test::ReadFileBytes(to), Bytes({7}));
    EXPECT_FALSE(test::FileExists(from));
}

TEST(File, ReadOnlyTargetsAreNeitherReplacedNorWritten) {
    if (!test::ReadOnlyFilesAreEnforced()) GTEST_SKIP() << "read-only files are writable here (Wine as root)";
    TempDir dir;
    const auto from = dir.File("from"), to = dir.File("to");
    test::WriteFileBytes(from, {8});
    test::WriteFileBytes(to, {7});
    test::MakeReadOnly(dir.Path() / "to");
    EXPECT_FALSE(MoveOver(from, to));
    EXPECT_EQ(test::ReadFileBytes(to), Bytes({7}));
    EXPECT_FALSE(OpenExistingForWriting(to).IsOpen());
}

TEST(File, ParentDirectoryOfABareNameIsEmpty) {
    EXPECT_EQ(ParentDirectory(u"name.bin"), u"");
    EXPECT_EQ(ParentDirectory(u"dir/name.bin"), u"dir");
#ifdef _WIN32
    EXPECT_EQ(ParentDirectory(u"C:\\dir\\name.bin"), u"C:\\dir");
    EXPECT_EQ(ParentDirectory(u"C:\\name.bin"), u"C:\\");
#endif
}

}  // namespace
}  // namespace tvx::platform
