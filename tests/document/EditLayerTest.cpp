// What the byte-vector model of EditLayerModelTest does not see: closing, files that change
// under the reader, huge repeated patterns.

#include "document/FileViewModel.h"
#include "tests/document/OpenDocument.h"

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

TEST(EditLayer, CloseDropsEditsAndTheFileAndNothingCanBeEditedWithout) {
    OpenDocument doc({1, 2});
    ASSERT_TRUE(doc.document.InsertByte(0, 1));
    doc.document.Close();
    EXPECT_FALSE(doc.document.IsOpen());
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_EQ(doc.document.GetSize(), 0u);
    EXPECT_FALSE(doc.document.OverwriteByte(0, 1));
    EXPECT_FALSE(doc.document.InsertByte(0, 1));
    EXPECT_FALSE(doc.document.DeleteByte(0));
    EXPECT_TRUE(doc.document.ReadBytes(0, 1).bytes.empty());
    ASSERT_TRUE(doc.document.File().Open(doc.path));
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 2}));
}

TEST(EditLayer, AReadStopsAtTheFirstByteTheFileCannotServe) {
    Bytes contents(100);
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<std::uint8_t>(i);
    OpenDocument doc(contents);
    ASSERT_TRUE(doc.document.InsertByte(10, 0xAA));
    ASSERT_TRUE(doc.document.DeleteByte(21));          // file byte 20
    ASSERT_TRUE(doc.document.OverwriteByte(30, 0xBB));  // file byte 30
    ASSERT_TRUE(doc.document.InsertByte(60, 0xCC));
    std::filesystem::resize_file(std::filesystem::path(doc.path), 40);  // another program shortens it
    Bytes expected(contents.begin(), contents.begin() + 40);
    expected[30] = 0xBB;
    expected.erase(expected.begin() + 20);
    expected.insert(expected.begin() + 10, 0xAA);
    EXPECT_EQ(doc.document.ReadBytes(0, 1000).bytes, expected);
    EXPECT_EQ(doc.document.ReadBytes(5, 20).bytes, Bytes(expected.begin() + 5, expected.begin() + 25));
}

// A tebibyte of a repeated pattern is held as its three bytes: inserting it, reading at its
// far end, filling over it and undoing take no more memory than that.
TEST(EditLayer, ARepeatedPatternCostsItsOwnBytesOnly) {
    OpenDocument doc({1, 2});
    constexpr std::uint64_t kCount = std::uint64_t{1} << 40;  // kCount % 3 == 1
    ASSERT_TRUE(doc.document.InsertRepeated(1, kCount, Bytes{7, 8, 9}));
    EXPECT_EQ(doc.document.GetSize(), kCount + 2);
    EXPECT_EQ(doc.document.ReadBytes(kCount - 2, 4).bytes, (Bytes{8, 9, 7, 2}));
    ASSERT_TRUE(doc.document.OverwriteRepeated(kCount - 1, 2, Bytes{5}));
    EXPECT_EQ(doc.document.ReadBytes(kCount - 2, 4).bytes, (Bytes{8, 5, 5, 2}));
    EXPECT_TRUE(doc.document.Undo());
    EXPECT_TRUE(doc.document.Undo());
    EXPECT_EQ(doc.ReadAll(), (Bytes{1, 2}));
}

// The file under the edit layer: its size is a snapshot taken at open, reads are cut there.
TEST(FileViewModel, ReadsAreCutAtTheSizeTakenAtOpen) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("f"), {10, 20, 30, 40});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("f")));
    EXPECT_EQ(file.GetPath(), dir.File("f"));
    const ByteBlock last = file.ReadBytes(3, 100);
    EXPECT_EQ(last.offset, 3u);
    EXPECT_EQ(last.bytes, Bytes({40}));
    EXPECT_TRUE(file.ReadBytes(1, 0).bytes.empty());
    EXPECT_TRUE(file.ReadBytes(~std::uint64_t{0}, ~std::uint64_t{0}).bytes.empty());
    test::WriteFileBytes(dir.File("f"), {5, 6, 7, 8, 9});  // another program rewrites it
    EXPECT_EQ(file.GetSize(), 4u);
    EXPECT_EQ(file.ReadBytes(1, 10).bytes, Bytes({6, 7, 8}));
    // A failed open leaves it closed, even after another file.
    EXPECT_FALSE(file.Open(dir.File("missing")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.GetPath().empty());
    EXPECT_TRUE(file.ReadBytes(0, 1).bytes.empty());
    EXPECT_FALSE(file.Open(dir.Path().u16string()));  // a directory
}

}  // namespace
}  // namespace tvx
