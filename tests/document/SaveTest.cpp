// Saving: what the writers keep of the file, and failures that leave the file byte-identical,
// keep the edits and leave no temporary file. Contents after random edits: EditLayerModelTest.

#include "document/SaveRange.h"
#include "platform/Utf8.h"
#include "tests/document/OpenDocument.h"
#include "tests/support/SmallFileSystem.h"

#ifdef _WIN32
#include <windows.h>
#include <sddl.h>
#else
#include <cstdlib>
#endif
#include <fstream>
#include <functional>

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const Bytes kOriginal = {1, 2, 3, 4};
enum class Writer { InPlace, TempFile };

std::string ErrorOf(const EditableDocument& document) { return platform::EncodeUtf8(document.LastErrorText()); }

void Edit(EditableDocument& document, Writer writer) {
    if (writer == Writer::InPlace) {
        ASSERT_TRUE(document.OverwriteByte(0, 0xFF));
        ASSERT_TRUE(document.InsertByte(4, 0xFE));
    } else {
        ASSERT_TRUE(document.InsertByte(1, 0xFF));
    }
    ASSERT_EQ(document.SavesInPlace(), writer == Writer::InPlace);
}

// False where the system keeps the name of an open file until it is closed (Windows).
bool RemoveOpenFile(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    return !fs::exists(path);
}

TEST(Save, WritesNothingUnmodifiedAndFailsWithoutAFile) {
    OpenDocument doc({1, 2, 3});
    test::MakeReadOnly(doc.dir.Path() / "doc.bin");  // a write attempt would fail where enforced
    bool called = false;
    EXPECT_TRUE(doc.document.Save([&](std::size_t, std::size_t) { called = true; }));
    EXPECT_FALSE(called);
    EXPECT_TRUE(doc.document.LastErrorText().empty());
    EditableDocument none;
    EXPECT_FALSE(none.Save({}));
    EXPECT_EQ(none.LastErrorText(), u"No file is open.");
}

TEST(Save, OverwritesArePatchedInPlaceGroupByGroup) {
    OpenDocument doc({0, 1, 2, 3, 4, 5, 6, 7});
    for (std::uint64_t at : {1, 2, 3, 6}) ASSERT_TRUE(doc.document.OverwriteByte(at, 0xEE));
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    ASSERT_TRUE(doc.document.Save([&](std::size_t done, std::size_t total) { reports.emplace_back(done, total); }))
        << ErrorOf(doc.document);
    EXPECT_EQ(doc.OnDisk(), Bytes({0, 0xEE, 0xEE, 0xEE, 4, 5, 0xEE, 7}));
    // One report per group of consecutive offsets: after bytes 1-3, then after byte 6.
    EXPECT_EQ(reports, (std::vector<std::pair<std::size_t, std::size_t>>{{4, 8}, {7, 8}}));
}

// The temporary file goes beside the file, never to the system's temporary folder.
TEST(Save, BareFileNameSavesThroughTheCurrentFolder) {
    test::TempDir dir;
    const auto previous = fs::current_path();
    fs::current_path(dir.Path());
#ifndef _WIN32
    const std::string tmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", "/nonexistent", 1);
#endif
    test::WriteFileBytes(u"bare.bin", {1, 2, 3});
    EditableDocument document;
    ASSERT_TRUE(document.File().Open(u"bare.bin"));
    ASSERT_TRUE(document.InsertByte(0, 0));
    const bool saved = document.Save({});
    const Bytes onDisk = test::ReadFileBytes(u"bare.bin");
    document.Close();
    fs::current_path(previous);
#ifndef _WIN32
    if (tmpdir.empty()) ::unsetenv("TMPDIR");
    else ::setenv("TMPDIR", tmpdir.c_str(), 1);
#endif
    ASSERT_TRUE(saved) << ErrorOf(document);
    EXPECT_EQ(onDisk, Bytes({0, 1, 2, 3}));
    EXPECT_EQ(dir.List(), Names{"bare.bin"});
}

// The file replaced through a temporary file keeps what the system keeps about it.
#ifdef _WIN32
std::wstring DaclOf(const std::wstring& path) {
    DWORD needed = 0;
    ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<std::uint8_t> buffer(needed);
    wchar_t* text = nullptr;
    if (needed == 0 || !::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed) ||
        !::ConvertSecurityDescriptorToStringSecurityDescriptorW(buffer.data(), SDDL_REVISION_1,
                                                               DACL_SECURITY_INFORMATION, &text, nullptr))
        return {};
    std::wstring result(text);
    ::LocalFree(text);
    return result;
}

TEST(Save, TheTemporaryFileKeepsAttributesAndSecurity) {
    OpenDocument doc({1, 2, 3});
    const std::wstring path(doc.path.begin(), doc.path.end());
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    PSECURITY_DESCRIPTOR restricted = nullptr;
    // Full access for the owner and the administrators only, not inherited.
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)(A;;FA;;;BA)", SDDL_REVISION_1,
                                                                      &restricted, nullptr));
    const bool secured = ::SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, restricted) != 0;
    ::LocalFree(restricted);
    const std::wstring before = DaclOf(path);
    ASSERT_TRUE(doc.document.InsertByte(0, 0));
    ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
    EXPECT_EQ(doc.OnDisk(), Bytes({0, 1, 2, 3}));
    EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    if (secured) {
        EXPECT_EQ(DaclOf(path), before);
    }
    EXPECT_EQ(doc.dir.List(), Names{"doc.bin"});
}
#else
TEST(Save, TheTemporaryFileKeepsTheModeAndSavesThroughALink) {
    for (const auto mode : {fs::perms(0600), fs::perms(0755)}) {
        OpenDocument doc({1, 2, 3});
        fs::permissions(doc.dir.Path() / "doc.bin", mode);
        ASSERT_TRUE(doc.document.InsertByte(0, 0));
        ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
        EXPECT_EQ(fs::status(doc.dir.Path() / "doc.bin").permissions(), mode);
    }
    OpenDocument doc({1, 2, 3});
    fs::create_symlink("doc.bin", doc.dir.Path() / "link.bin");
    EditableDocument linked;
    ASSERT_TRUE(linked.File().Open(doc.dir.File("link.bin")));
    ASSERT_TRUE(linked.InsertByte(0, 0));
    ASSERT_TRUE(linked.Save({})) << ErrorOf(linked);
    EXPECT_TRUE(fs::is_symlink(doc.dir.Path() / "link.bin"));
    EXPECT_EQ(doc.OnDisk(), Bytes({0, 1, 2, 3}));
    EXPECT_EQ(linked.GetPath(), doc.dir.File("link.bin"));
    EXPECT_EQ(doc.dir.List(), (Names{"doc.bin", "link.bin"}));
}
#endif

// What the target became before the save, and the system's verdict on each writer.
TEST(SaveFailure, KeepsTheFileAndTheEdits) {
    platform::FileHandle lock;
    const struct {
        const char* cause;
        const char* name;
        std::function<const char*(const fs::path&)> make;  // why it cannot be tried here, or null
        Names entries;
        std::u16string error;  // empty: any
    } cases[] = {
        {"read-only", "doc.bin",
         [](const fs::path& path) {
             if (!test::ReadOnlyFilesAreEnforced()) return "read-only files are writable here (Wine as root)";
             test::MakeReadOnly(path);
             return static_cast<const char*>(nullptr);
         },
         {"doc.bin"},
#ifdef _WIN32
         u"Access denied."},
        {"locked by another writer", "doc.bin",
         [&lock](const fs::path& path) {
             lock = platform::OpenExistingForWriting(path.u16string());  // shares only reading
             return lock.IsOpen() ? nullptr : "cannot lock";
         },
         {"doc.bin"}, {}},
#else
         u"Permission denied"},
#endif
        {"replaced by a directory", "doc.bin",
         [](const fs::path& path) {
             if (!RemoveOpenFile(path)) return "the system keeps an open file's name until it is closed";
             fs::create_directory(path);
             return static_cast<const char*>(nullptr);
         },
         {"doc.bin"}, {}},
        {"folder vanished", "sub/doc.bin",
         [](const fs::path& path) {
             if (!RemoveOpenFile(path)) return "the system keeps an open file's name until it is closed";
             fs::remove(path.parent_path());
             return static_cast<const char*>(nullptr);
         },
         {}, {}},
    };
    for (const Writer writer : {Writer::InPlace, Writer::TempFile}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.cause) + (writer == Writer::InPlace ? ", in place" : ", temporary file"));
            OpenDocument doc(kOriginal, c.name);
            ASSERT_NO_FATAL_FAILURE(Edit(doc.document, writer));
            const Bytes edited = doc.ReadAll();
            const fs::path path = doc.dir.Path() / c.name;
            if (const char* skip = c.make(path)) {
                std::cout << "skipped: " << skip << "\n";
                continue;
            }
            EXPECT_FALSE(doc.document.Save({}));
            EXPECT_FALSE(doc.document.LastErrorText().empty());
            if (!c.error.empty()) {
                EXPECT_EQ(doc.document.LastErrorText(), c.error);
            }
            EXPECT_TRUE(doc.document.IsModified());
            EXPECT_EQ(doc.dir.List(), c.entries);
            EXPECT_EQ(doc.ReadAll(), edited);
            if (fs::is_regular_file(path)) {
                EXPECT_EQ(doc.OnDisk(), kOriginal);
                // A second attempt after the cause is gone writes the whole change.
                lock.Close();
                fs::permissions(path, fs::perms::owner_all);
                ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
                EXPECT_EQ(doc.OnDisk(), edited);
            } else if (fs::exists(path)) {
                EXPECT_TRUE(fs::is_empty(path));
            }
        }
    }
}

// Another program changed the file after it was opened: neither writer writes, the edits stay,
// and Save As keeps them in a new file where the bytes under them can still be read.
TEST(SaveFailure, AFileChangedOnDiskIsNotWritten) {
    const struct {
        const char* change;
        std::function<bool(const fs::path&)> make;  // false: not possible here
        bool readable;                               // the bytes under the edits can still be read
    } cases[] = {
        {"grew", [](const fs::path& p) { return static_cast<bool>(std::ofstream(p, std::ios::app) << "ZZ"); }, true},
        {"shrank",
         [](const fs::path& p) {
             fs::resize_file(p, 2);
             return true;
         },
         false},
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
            EXPECT_EQ(doc.dir.List(), exists ? Names{"doc.bin"} : Names{});
            if (!c.readable) continue;
            const std::u16string kept = doc.dir.File("kept.bin");
            ASSERT_TRUE(doc.document.SaveAs(kept, {})) << ErrorOf(doc.document);
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
    Names names;
    for (const auto& entry : fs::directory_iterator(disk.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{"dense.bin", "filler", "sparse.bin"}));
}

// The edited bytes of the range replace the target; every failure leaves the folder as it was.
TEST(SaveRange, WritesTheEditedRangeOrNothing) {
    OpenDocument doc({1, 2, 3, 4, 5});
    ASSERT_TRUE(doc.document.InsertRepeated(2, (3 << 20) + 1, Bytes{9, 8}));
    const std::u16string target = doc.dir.File("part.bin");
    test::WriteFileBytes(target, {7});
    std::u16string error;
    std::size_t lastDone = 0;
    ASSERT_TRUE(SaveRange(doc.document, 1, (3 << 20) + 3, target,
                          [&](std::size_t done, std::size_t) { lastDone = done; }, error))
        << platform::EncodeUtf8(error);
    const Bytes saved = test::ReadFileBytes(target);
    EXPECT_EQ(saved, doc.document.ReadBytes(1, (3 << 20) + 3).bytes);
    EXPECT_EQ(lastDone, saved.size());
    for (const std::u16string& refused : {doc.path, doc.dir.File("missing/part.bin")}) {
        EXPECT_FALSE(SaveRange(doc.document, 0, 3, refused, {}, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(doc.dir.List(), (Names{"doc.bin", "part.bin"}));  // no temporary file
    }
    EXPECT_EQ(doc.OnDisk(), (Bytes{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace tvx
