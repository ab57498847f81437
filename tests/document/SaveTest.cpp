#include "platform/Utf8.h"
#include "tests/document/OpenDocument.h"

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;

std::string ErrorOf(const EditableDocument& document) { return platform::EncodeUtf8(document.LastErrorText()); }

TEST(Save, UnmodifiedDocumentIsNotWritten) {
    OpenDocument doc({1, 2, 3});
    test::MakeReadOnly(doc.dir.Path() / "doc.bin");  // a write attempt would fail where enforced
    bool called = false;
    EXPECT_TRUE(doc.document.Save([&](std::size_t, std::size_t) { called = true; }));
    EXPECT_FALSE(called);
    EXPECT_TRUE(doc.document.LastErrorText().empty());
}

TEST(Save, WithoutAFileFails) {
    EditableDocument document;
    EXPECT_FALSE(document.Save({}));
    EXPECT_EQ(document.LastErrorText(), u"No file is open.");
}

TEST(Save, OverwritesArePatchedInPlaceGroupByGroup) {
    OpenDocument doc({0, 1, 2, 3, 4, 5, 6, 7});
    for (std::uint64_t at : {1, 2, 3, 6}) ASSERT_TRUE(doc.document.OverwriteByte(at, 0xEE));
    EXPECT_TRUE(doc.document.SavesInPlace());
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    ASSERT_TRUE(doc.document.Save([&](std::size_t done, std::size_t total) { reports.emplace_back(done, total); }))
        << ErrorOf(doc.document);
    EXPECT_EQ(doc.OnDisk(), Bytes({0, 0xEE, 0xEE, 0xEE, 4, 5, 0xEE, 7}));
    // One report per group of consecutive offsets: after bytes 1-3, then after byte 6.
    EXPECT_EQ(reports, (std::vector<std::pair<std::size_t, std::size_t>>{{4, 8}, {7, 8}}));
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_TRUE(doc.document.IsOpen());
}

TEST(Save, AppendingAndTruncatingArePatchedInPlace) {
    {
        OpenDocument doc({1, 2, 3});
        ASSERT_TRUE(doc.document.InsertByte(3, 4));
        ASSERT_TRUE(doc.document.InsertByte(4, 5));
        EXPECT_TRUE(doc.document.SavesInPlace());
        ASSERT_TRUE(doc.document.Save({}));
        EXPECT_EQ(doc.OnDisk(), Bytes({1, 2, 3, 4, 5}));
    }
    {
        OpenDocument doc({1, 2, 3, 4});
        ASSERT_TRUE(doc.document.DeleteByte(3));
        ASSERT_TRUE(doc.document.DeleteByte(2));
        EXPECT_TRUE(doc.document.SavesInPlace());
        ASSERT_TRUE(doc.document.Save({}));
        EXPECT_EQ(doc.OnDisk(), Bytes({1, 2}));
        EXPECT_EQ(doc.document.GetSize(), 2u);
    }
    {
        // Both at once: the appended bytes follow the last kept byte.
        OpenDocument doc({1, 2, 3, 4});
        ASSERT_TRUE(doc.document.InsertByte(4, 9));
        ASSERT_TRUE(doc.document.DeleteByte(3));
        ASSERT_TRUE(doc.document.DeleteByte(2));
        ASSERT_TRUE(doc.document.OverwriteByte(0, 7));
        EXPECT_TRUE(doc.document.SavesInPlace());
        ASSERT_TRUE(doc.document.Save({}));
        EXPECT_EQ(doc.OnDisk(), Bytes({7, 2, 9}));
        EXPECT_EQ(doc.document.GetSize(), 3u);
    }
}

TEST(Save, ShiftingEditsGoThroughATemporaryFileThatDoesNotRemain) {
    OpenDocument doc({1, 2, 3, 4});
    ASSERT_TRUE(doc.document.InsertByte(1, 9));
    ASSERT_TRUE(doc.document.DeleteByte(4));
    EXPECT_FALSE(doc.document.SavesInPlace());
    ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
    EXPECT_EQ(doc.OnDisk(), Bytes({1, 9, 2, 3}));
    EXPECT_EQ(doc.dir.List(), std::vector<std::string>{"doc.bin"});
    EXPECT_EQ(doc.document.GetSize(), 4u);
    EXPECT_FALSE(doc.document.IsModified());
    EXPECT_EQ(doc.document.GetPath(), doc.path);
}

TEST(Save, DeletingAMiddleByteUsesTheTemporaryFile) {
    OpenDocument doc({1, 2, 3});
    ASSERT_TRUE(doc.document.DeleteByte(1));
    EXPECT_FALSE(doc.document.SavesInPlace());
    ASSERT_TRUE(doc.document.Save({}));
    EXPECT_EQ(doc.OnDisk(), Bytes({1, 3}));
}

TEST(Save, DeletingEveryByteSavesAnEmptyFile) {
    OpenDocument doc({1, 2, 3});
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(doc.document.DeleteByte(0));
    std::size_t lastTotal = 0;
    ASSERT_TRUE(doc.document.Save([&](std::size_t, std::size_t total) { lastTotal = total; }));
    EXPECT_EQ(lastTotal, 1u);  // total is at least 1
    EXPECT_TRUE(doc.OnDisk().empty());
    EXPECT_EQ(doc.document.GetSize(), 0u);
    EXPECT_TRUE(doc.document.IsOpen());
}

TEST(Save, BareFileNameUsesTheSystemTemporaryFolder) {
    test::TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    test::WriteFileBytes(u"bare.bin", {1, 2, 3});
    EditableDocument document;
    ASSERT_TRUE(document.File().Open(u"bare.bin"));
    ASSERT_TRUE(document.InsertByte(0, 0));
    const bool saved = document.Save({});
    const Bytes onDisk = test::ReadFileBytes(u"bare.bin");
    document.Close();
    std::filesystem::current_path(previous);
    ASSERT_TRUE(saved) << ErrorOf(document);
    EXPECT_EQ(onDisk, Bytes({0, 1, 2, 3}));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"bare.bin"});
}

}  // namespace
}  // namespace tvx
