#include "tests/document/OpenDocument.h"

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

TEST(EditLayer, InsertAtStartAndAtEnd) {
    OpenDocument doc({1, 2, 3});
    ASSERT_TRUE(doc.document.InsertByte(0, 9));
    ASSERT_TRUE(doc.document.InsertByte(4, 8));
    EXPECT_EQ(doc.ReadAll(), Bytes({9, 1, 2, 3, 8}));
    EXPECT_EQ(doc.document.GetLogicalSize(), 5u);
    EXPECT_EQ(doc.document.GetSize(), 5u);
    EXPECT_TRUE(doc.document.IsModified());
}

TEST(EditLayer, TwoInsertsAtOneOffsetLeaveTheLaterFirst) {
    OpenDocument doc({1, 2, 3});
    ASSERT_TRUE(doc.document.InsertByte(1, 0xAA));
    ASSERT_TRUE(doc.document.InsertByte(1, 0xBB));
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 0xBB, 0xAA, 2, 3}));
}

TEST(EditLayer, InsertBeforeAFileByteWithARunGoesBetweenRunAndByte) {
    OpenDocument doc({1, 2, 3});
    ASSERT_TRUE(doc.document.InsertByte(1, 0xAA));  // run before file byte 1
    ASSERT_TRUE(doc.document.InsertByte(2, 0xBB));  // before the file byte 2, after the run
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 0xAA, 0xBB, 2, 3}));
}

TEST(EditLayer, DeletingAWholeRunMakesTheDocumentCleanAgain) {
    OpenDocument doc({1, 2});
    ASSERT_TRUE(doc.document.InsertByte(1, 7));
    ASSERT_TRUE(doc.document.InsertByte(1, 8));
    ASSERT_TRUE(doc.document.DeleteByte(1));
    ASSERT_TRUE(doc.document.DeleteByte(1));
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 2}));
}

TEST(EditLayer, OverwritingWithTheFilesOwnValueIsNoChange) {
    OpenDocument doc({1, 2});
    ASSERT_TRUE(doc.document.OverwriteByte(0, 5));
    EXPECT_TRUE(doc.document.IsModified());
    ASSERT_TRUE(doc.document.OverwriteByte(0, 1));
    EXPECT_FALSE(doc.document.IsModified());
}

TEST(EditLayer, DeletingAnOverwrittenByteDropsTheOverwrite) {
    OpenDocument doc({1, 2, 3});
    ASSERT_TRUE(doc.document.OverwriteByte(1, 9));
    ASSERT_TRUE(doc.document.DeleteByte(1));
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 3}));
    ASSERT_TRUE(doc.document.InsertByte(1, 2));  // put the old value back
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 2, 3}));
    EXPECT_TRUE(doc.document.IsModified());      // a deleted file byte is never taken back
}

TEST(EditLayer, OverwriteInsideARunChangesTheRun) {
    OpenDocument doc({1});
    ASSERT_TRUE(doc.document.InsertByte(0, 5));
    ASSERT_TRUE(doc.document.OverwriteByte(0, 6));
    EXPECT_EQ(doc.ReadAll(), Bytes({6, 1}));
}

TEST(EditLayer, EditsAtAndBeyondTheEnd) {
    OpenDocument doc({1, 2});
    EXPECT_FALSE(doc.document.OverwriteByte(2, 0));
    EXPECT_FALSE(doc.document.DeleteByte(2));
    EXPECT_FALSE(doc.document.InsertByte(3, 0));
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_TRUE(doc.document.InsertByte(2, 0));
}

TEST(EditLayer, EveryEditFailsWithNoFileOpen) {
    EditableDocument document;
    EXPECT_FALSE(document.IsOpen());
    EXPECT_FALSE(document.OverwriteByte(0, 1));
    EXPECT_FALSE(document.InsertByte(0, 1));
    EXPECT_FALSE(document.DeleteByte(0));
    EXPECT_EQ(document.GetSize(), 0u);
    EXPECT_TRUE(document.ReadBytes(0, 1).bytes.empty());
}

TEST(EditLayer, DeletedFirstByteShiftsReads) {
    OpenDocument doc({1, 2, 3});
    ASSERT_TRUE(doc.document.DeleteByte(0));
    const ByteBlock block = doc.document.ReadBytes(0, 1);
    EXPECT_EQ(block.bytes, Bytes({2}));
    EXPECT_EQ(doc.document.GetSize(), 2u);
}

TEST(EditLayer, ReadMergesRunsDeletionsAndOverwrites) {
    OpenDocument doc({0, 1, 2, 3, 4, 5, 6, 7});
    ASSERT_TRUE(doc.document.OverwriteByte(1, 0x11));
    ASSERT_TRUE(doc.document.DeleteByte(2));         // 0 11 3 4 5 6 7
    ASSERT_TRUE(doc.document.InsertByte(3, 0xA0));   // 0 11 3 A0 4 5 6 7
    ASSERT_TRUE(doc.document.InsertByte(4, 0xA1));   // 0 11 3 A0 A1 4 5 6 7
    ASSERT_TRUE(doc.document.DeleteByte(6));         // 0 11 3 A0 A1 4 6 7
    ASSERT_TRUE(doc.document.OverwriteByte(7, 0x77));
    const ByteBlock block = doc.document.ReadBytes(1, 6);
    EXPECT_EQ(block.offset, 1u);
    EXPECT_EQ(block.bytes, Bytes({0x11, 3, 0xA0, 0xA1, 4, 6}));
    EXPECT_EQ(doc.ReadAll(), Bytes({0, 0x11, 3, 0xA0, 0xA1, 4, 6, 0x77}));
    EXPECT_TRUE(doc.document.ReadBytes(3, 0).bytes.empty());
    EXPECT_TRUE(doc.document.ReadBytes(8, 1).bytes.empty());
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

TEST(EditLayer, CloseDropsEditsAndTheFile) {
    OpenDocument doc({1, 2});
    ASSERT_TRUE(doc.document.InsertByte(0, 1));
    doc.document.Close();
    EXPECT_FALSE(doc.document.IsOpen());
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_EQ(doc.document.GetSize(), 0u);
    ASSERT_TRUE(doc.document.File().Open(doc.path));
    EXPECT_EQ(doc.ReadAll(), Bytes({1, 2}));
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
}  // namespace
}  // namespace tvx
