// A failed save leaves the file byte-identical, keeps the edits and leaves no temporary file.

#include "tests/document/OpenDocument.h"

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;
namespace fs = std::filesystem;

const Bytes kOriginal = {1, 2, 3, 4};

enum class Writer { InPlace, TempFile };

void Edit(EditableDocument& document, Writer writer) {
    if (writer == Writer::InPlace) {
        ASSERT_TRUE(document.OverwriteByte(0, 0xFF));
        ASSERT_TRUE(document.InsertByte(4, 0xFE));
    } else {
        ASSERT_TRUE(document.InsertByte(1, 0xFF));
    }
    ASSERT_EQ(document.SavesInPlace(), writer == Writer::InPlace);
}

void ExpectFailureKeepsEverything(OpenDocument& doc, const std::vector<std::string>& expectedEntries) {
    const Bytes before = doc.ReadAll();
    EXPECT_FALSE(doc.document.Save({}));
    EXPECT_FALSE(doc.document.LastErrorText().empty());
    EXPECT_TRUE(doc.document.IsModified());
    EXPECT_EQ(doc.dir.List(), expectedEntries);
    if (doc.document.IsOpen()) {
        EXPECT_EQ(doc.ReadAll(), before);
    }
}

class SaveFailure : public ::testing::TestWithParam<Writer> {};

// False where the system keeps the name of an open file until it is closed (Windows).
bool RemoveOpenFile(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    return !fs::exists(path);
}

constexpr char kNameKept[] = "the system keeps an open file's name until it is closed";

TEST_P(SaveFailure, ReadOnlyTarget) {
    if (!test::ReadOnlyFilesAreEnforced()) GTEST_SKIP() << "read-only files are writable here (Wine as root)";
    OpenDocument doc(kOriginal);
    ASSERT_NO_FATAL_FAILURE(Edit(doc.document, GetParam()));
    test::MakeReadOnly(doc.dir.Path() / "doc.bin");
    ExpectFailureKeepsEverything(doc, {"doc.bin"});
    EXPECT_EQ(doc.OnDisk(), kOriginal);
    EXPECT_TRUE(doc.document.IsOpen());
}

TEST_P(SaveFailure, TargetReplacedByADirectory) {
    OpenDocument doc(kOriginal);
    ASSERT_NO_FATAL_FAILURE(Edit(doc.document, GetParam()));
    if (!RemoveOpenFile(doc.dir.Path() / "doc.bin")) GTEST_SKIP() << kNameKept;
    fs::create_directory(doc.dir.Path() / "doc.bin");
    ExpectFailureKeepsEverything(doc, {"doc.bin"});
    EXPECT_TRUE(fs::is_directory(doc.dir.Path() / "doc.bin"));
    EXPECT_TRUE(fs::is_empty(doc.dir.Path() / "doc.bin"));
}

TEST_P(SaveFailure, FolderVanished) {
    OpenDocument doc(kOriginal, "sub/doc.bin");
    ASSERT_NO_FATAL_FAILURE(Edit(doc.document, GetParam()));
    if (!RemoveOpenFile(doc.dir.Path() / "sub" / "doc.bin")) GTEST_SKIP() << kNameKept;
    fs::remove(doc.dir.Path() / "sub");
    ExpectFailureKeepsEverything(doc, {});
}

#ifdef _WIN32
TEST_P(SaveFailure, TargetLockedByAnotherWriter) {
    OpenDocument doc(kOriginal);
    ASSERT_NO_FATAL_FAILURE(Edit(doc.document, GetParam()));
    // Another handle with write access that shares only reading.
    const platform::FileHandle lock = platform::OpenExistingForWriting(doc.path);
    ASSERT_TRUE(lock.IsOpen());
    ExpectFailureKeepsEverything(doc, {"doc.bin"});
    EXPECT_EQ(doc.OnDisk(), kOriginal);
}
#endif

INSTANTIATE_TEST_SUITE_P(BothWriters, SaveFailure, ::testing::Values(Writer::InPlace, Writer::TempFile),
                         [](const auto& info) { return info.param == Writer::InPlace ? "InPlace" : "TempFile"; });

TEST(SaveFailure, TargetThatVanishedIsNotRecreatedInPlace) {
    OpenDocument doc(kOriginal);
    ASSERT_NO_FATAL_FAILURE(Edit(doc.document, Writer::InPlace));
    if (!RemoveOpenFile(doc.dir.Path() / "doc.bin")) GTEST_SKIP() << kNameKept;
    ExpectFailureKeepsEverything(doc, {});
}

TEST(SaveFailure, ErrorTextIsTheSystemsMessage) {
    if (!test::ReadOnlyFilesAreEnforced()) GTEST_SKIP() << "read-only files are writable here (Wine as root)";
    OpenDocument doc(kOriginal);
    ASSERT_NO_FATAL_FAILURE(Edit(doc.document, Writer::InPlace));
    test::MakeReadOnly(doc.dir.Path() / "doc.bin");
    EXPECT_FALSE(doc.document.Save({}));
#ifdef _WIN32
    EXPECT_EQ(doc.document.LastErrorText(), u"Access denied.");
#else
    EXPECT_EQ(doc.document.LastErrorText(), u"Permission denied");
#endif
    // A second attempt after the cause is gone writes the whole change.
    fs::permissions(doc.dir.Path() / "doc.bin", fs::perms::owner_all);
    ASSERT_TRUE(doc.document.Save({}));
    EXPECT_EQ(doc.OnDisk(), Bytes({0xFF, 2, 3, 4, 0xFE}));
}

}  // namespace
}  // namespace tvx
