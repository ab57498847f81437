// What the byte-vector model of EditLayerModelTest does not see: when the document counts as
// modified, changed ranges, files that change under the reader, huge repeated patterns.

#include "document/FileViewModel.h"
#include "tests/document/OpenDocument.h"

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

struct Op {
    char kind;  // 'o'verwrite, 'i'nsert, 'd'elete
    std::uint64_t offset;
    std::uint8_t value;
};

TEST(EditLayer, ModifiedOnlyWhileThePiecesDifferFromTheFile) {
    const struct {
        std::vector<Op> ops;
        bool modified;
    } cases[] = {
        {{{'i', 1, 7}, {'i', 1, 8}, {'d', 1, 0}, {'d', 1, 0}}, false},  // a whole run deleted
        {{{'o', 0, 5}, {'o', 0, 1}}, false},                            // the file's own value written back
        {{{'o', 1, 9}, {'d', 1, 0}, {'i', 1, 2}}, true},                // a deleted file byte is never taken back
    };
    for (const auto& c : cases) {
        OpenDocument doc({1, 2, 3});
        for (const Op& op : c.ops)
            EXPECT_TRUE(op.kind == 'o'   ? doc.document.OverwriteByte(op.offset, op.value)
                        : op.kind == 'i' ? doc.document.InsertByte(op.offset, op.value)
                                         : doc.document.DeleteByte(op.offset));
        EXPECT_EQ(doc.ReadAll(), Bytes({1, 2, 3}));
        EXPECT_EQ(doc.document.IsModified(), c.modified) << &c - cases;
    }
}

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

TEST(EditLayer, ChangedRangesAreTheOverwrittenAndInsertedBytes) {
    OpenDocument doc(Bytes{0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_FALSE(doc.document.IsChangedRange(0, 8));
    ASSERT_TRUE(doc.document.OverwriteByte(2, 0xAA));
    ASSERT_TRUE(doc.document.InsertByte(6, 0xBB));  // 0 1 AA 3 4 5 BB 6 7
    ASSERT_TRUE(doc.document.DeleteByte(0));         // 1 AA 3 4 5 BB 6 7
    std::string changed;
    for (std::uint64_t i = 0; i < 9; ++i) changed += doc.document.IsChangedRange(i, 1) ? 'x' : '.';
    EXPECT_EQ(changed, ".x...x...");
    EXPECT_TRUE(doc.document.IsChangedRange(0, 2));
    EXPECT_FALSE(doc.document.IsChangedRange(2, 3));
    EXPECT_TRUE(doc.document.IsChangedRange(2, 4));
    ASSERT_TRUE(doc.document.Undo() && doc.document.Undo() && doc.document.Undo());
    EXPECT_FALSE(doc.document.IsChangedRange(0, 8));
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
    test::WriteFileBytes(dir.File("empty"), {});
    test::WriteFileBytes(dir.File("f"), {10, 20, 30, 40});
    FileViewModel file;
    ASSERT_TRUE(file.Open(dir.File("empty")));
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.ReadBytes(0, 10).bytes.empty());
    ASSERT_TRUE(file.Open(dir.File("f")));
    EXPECT_EQ(file.GetPath(), dir.File("f"));
    const ByteBlock last = file.ReadBytes(3, 100);
    EXPECT_EQ(last.offset, 3u);
    EXPECT_EQ(last.bytes, Bytes({40}));
    EXPECT_TRUE(file.ReadBytes(4, 1).bytes.empty());
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
