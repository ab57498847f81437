// A failed save leaves the file byte-identical, keeps the edits and leaves no temporary file.

#include "tests/document/OpenDocument.h"
#include "tests/support/SmallFileSystem.h"

#include "platform/Utf8.h"

#include <fstream>
#include <functional>

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

// Another program changed the file after it was opened: neither writer writes, the edits stay,
// and Save As keeps them in a new file where the bytes under them can still be read.
TEST(SaveFailure, AFileChangedOnDiskIsNotWritten) {
    const struct {
        const char* change;
        std::function<bool(const fs::path&)> make;  // false: not possible here
        bool readable;                               // the bytes under the edits can still be read
    } cases[] = {
        {"grew", [](const fs::path& p) {
             std::ofstream(p, std::ios::app) << "ZZ";
             return true;
         }, true},
        {"shrank", [](const fs::path& p) {
             fs::resize_file(p, 2);
             return true;
         }, false},
        {"replaced by a rename",
         [](const fs::path& p) {
             std::ofstream(fs::path(p) += ".new") << "NEW";
             std::error_code error;
             fs::rename(fs::path(p) += ".new", p, error);
             return !error;
         },
         true},
        {"deleted", [](const fs::path& p) { return RemoveOpenFile(p); }, true},
    };
    for (const Writer writer : {Writer::InPlace, Writer::TempFile}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.change) + (writer == Writer::InPlace ? ", in place" : ", temporary file"));
            OpenDocument doc(kOriginal);
            ASSERT_NO_FATAL_FAILURE(Edit(doc.document, writer));
            const Bytes edited = doc.ReadAll();
            const fs::path path = doc.dir.Path() / "doc.bin";
            if (!c.make(path)) {
                fs::remove(fs::path(path) += ".new");
                continue;  // Windows keeps an open file's name
            }
            const bool exists = fs::exists(path);
            const Bytes onDisk = exists ? doc.OnDisk() : Bytes{};
            EXPECT_FALSE(doc.document.Save({}));
            EXPECT_EQ(doc.document.LastErrorText(),
                      u"The file was changed by another program after it was opened. Use Save As to keep your edits.");
            EXPECT_TRUE(doc.document.IsModified());
            EXPECT_EQ(doc.dir.List(), exists ? std::vector<std::string>{"doc.bin"} : std::vector<std::string>{});
            if (exists) {
                EXPECT_EQ(doc.OnDisk(), onDisk);
            }
            if (!c.readable) continue;
            const std::u16string kept = doc.dir.File("kept.bin");
            ASSERT_TRUE(doc.document.SaveAs(kept, {})) << platform::EncodeUtf8(doc.document.LastErrorText());
            EXPECT_EQ(test::ReadFileBytes(kept), edited);
            EXPECT_EQ(doc.document.GetPath(), kept);
            EXPECT_FALSE(doc.document.IsModified());
            EXPECT_FALSE(doc.document.CanUndo());
            if (exists) {
                EXPECT_EQ(doc.OnDisk(), onDisk);
            }
        }
    }
}

// A full disk: the in-place writer reserves what it appends and the holes it fills before it
// writes a byte, so the file stays as it was.
TEST(SaveFailure, AFullDiskLeavesTheFileAsItWasInPlace) {
    test::TempDir dir;
    const test::SmallFileSystem disk(dir.Path(), 64 * 1024);
    if (!disk.Unavailable().empty()) GTEST_SKIP() << "no small file system to fill: " << disk.Unavailable();
    const fs::path dense = disk.Path() / "dense.bin", sparse = disk.Path() / "sparse.bin";
    test::WriteFileBytes(dense.u16string(), Bytes(4096, 7));
    std::ofstream(sparse).close();
    fs::resize_file(sparse, 1 << 20);  // a hole, no block on disk
    test::FillFileSystem(disk.Path());

    for (const fs::path& path : {dense, sparse}) {
        EditableDocument document;
        ASSERT_TRUE(document.File().Open(path.u16string()));
        const Bytes before = test::ReadFileBytes(path.u16string());
        ASSERT_TRUE(document.OverwriteBytes(100, Bytes(3000, 1)));
        if (path == dense) {
            ASSERT_TRUE(document.InsertBytes(document.GetSize(), Bytes(32 * 1024, 2)));
        }
        ASSERT_TRUE(document.SavesInPlace());
        EXPECT_FALSE(document.Save({}));
        EXPECT_EQ(test::ReadFileBytes(path.u16string()), before) << path;
        EXPECT_TRUE(document.IsModified());
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dense.bin", "filler", "sparse.bin"}));
}

}  // namespace
}  // namespace tvx
