// Saving: what the writers keep of the file, and failures that leave the file byte-identical,
// keep the edits and leave no temporary file. Contents after random edits: EditLayerTest.

#include "document/SaveRange.h"
#include "platform/Utf8.h"
#include "tests/document/OpenDocument.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/SmallFileSystem.h"

#ifdef _WIN32
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#else
#include <cstdlib>
#endif
#include <fstream>
#include <gmock/gmock.h>
#include <functional>

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

#ifdef _WIN32
constexpr bool kWindows = true;
const std::u16string kDenied = u"Access denied.";
#else
constexpr bool kWindows = false;
const std::u16string kDenied = u"Permission denied";
#endif
const std::u16string kChanged =
    u"The file was changed by another program after it was opened. Use Save As to keep your edits.";
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

// Unmodified, nothing is written (a write would fail on the read-only file); overwrites are
// patched in place with one report per group of consecutive offsets: after 1-3, after 6.
TEST(Save, WritesOnlyTheChangedGroupsInPlace) {
    OpenDocument doc({0, 1, 2, 3, 4, 5, 6, 7});
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    const auto progress = [&](std::size_t done, std::size_t total) { reports.emplace_back(done, total); };
    test::MakeReadOnly(doc.path);
    EXPECT_TRUE(doc.document.Save(progress)) << ErrorOf(doc.document);
    EXPECT_TRUE(reports.empty());
    fs::permissions(doc.path, fs::perms::owner_all);
    for (std::uint64_t at : {1, 2, 3, 6}) ASSERT_TRUE(doc.document.OverwriteByte(at, 0xEE));
    ASSERT_TRUE(doc.document.Save(progress)) << ErrorOf(doc.document);
    EXPECT_EQ(doc.OnDisk(), Bytes({0, 0xEE, 0xEE, 0xEE, 4, 5, 0xEE, 7}));
    EXPECT_EQ(reports, (std::vector<std::pair<std::size_t, std::size_t>>{{4, 8}, {7, 8}}));
    EditableDocument none;
    EXPECT_FALSE(none.Save({}));
    EXPECT_EQ(none.LastErrorText(), u"No file is open.");
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
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    wchar_t* text = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                                nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    const bool converted = ::ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
    const std::wstring result = converted ? text : L"";
    ::LocalFree(text);
    ::LocalFree(descriptor);
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
    EXPECT_TRUE(!secured || DaclOf(path) == before);
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

// Each cause makes both writers fail: the file keeps its bytes, the edits stay, no temporary
// file is left, and once the cause is gone a second save writes the whole change. A file
// changed by another program is never written; Save As keeps the edits in a new file where the
// bytes under them can still be read.
TEST(SaveFailure, KeepsTheFileAndTheEdits) {
    platform::FileHandle lock;
    const struct {
        const char* cause;
        std::function<bool(const fs::path&)> make;  // false: not possible here
        Names entries;
        const std::u16string& error;  // empty: any
        bool saveAs;
    } cases[] = {
        {"read-only", [](const fs::path& p) { return test::MakeReadOnly(p), test::ReadOnlyFilesAreEnforced(); },
         {"doc.bin"}, kDenied, false},
        {"replaced by a directory", [](const fs::path& p) { return RemoveOpenFile(p) && fs::create_directory(p); },
         {"doc.bin"}, {}, false},
        {"folder vanished", [](const fs::path& p) { return RemoveOpenFile(p) && fs::remove(p.parent_path()); },
         {}, {}, false},
        {"locked by another writer",  // a handle with write access that shares only reading
         [&lock](const fs::path& p) {
             return kWindows && (lock = platform::OpenExistingForWriting(p.u16string())).IsOpen();
         },
         {"doc.bin"}, {}, false},
        {"grew", [](const fs::path& p) { return !!(std::ofstream(p, std::ios::app) << "ZZ"); }, {"doc.bin"}, kChanged,
         true},
        {"shrank", [](const fs::path& p) { return fs::resize_file(p, 2), true; }, {"doc.bin"}, kChanged, false},
        {"replaced by a rename",
         [](const fs::path& p) {
             std::error_code error;
             std::ofstream(fs::path(p) += ".new") << "NEW";
             fs::rename(fs::path(p) += ".new", p, error);
             return !error || (fs::remove(fs::path(p) += ".new"), false);
         },
         {"doc.bin"}, kChanged, true},
        {"deleted", RemoveOpenFile, {}, kChanged, true},
    };
    for (const Writer writer : {Writer::InPlace, Writer::TempFile}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.cause) + (writer == Writer::InPlace ? ", in place" : ", temporary file"));
            OpenDocument doc(kOriginal, "sub/doc.bin");
            ASSERT_NO_FATAL_FAILURE(Edit(doc.document, writer));
            const Bytes edited = doc.ReadAll();
            const fs::path path(doc.path);
            if (!c.make(path)) continue;  // Windows keeps an open file's name, Wine as root writes read-only files
            const Bytes before = fs::is_regular_file(path) ? doc.OnDisk() : Bytes{};
            EXPECT_FALSE(doc.document.Save({}));
            EXPECT_FALSE(doc.document.LastErrorText().empty());
            if (!c.error.empty()) {
                EXPECT_EQ(doc.document.LastErrorText(), c.error);
            }
            EXPECT_TRUE(doc.document.IsModified());
            EXPECT_TRUE(doc.ReadAll() == edited || (!c.saveAs && c.error == kChanged));  // not when it shrank
            EXPECT_EQ(test::ListFolder(path.parent_path()), c.entries);
            EXPECT_EQ(fs::is_regular_file(path) ? doc.OnDisk() : Bytes{}, before);
            EXPECT_TRUE(!fs::is_directory(path) || fs::is_empty(path));
            if (c.saveAs) {
                const std::u16string kept = doc.dir.File("kept.bin");
                ASSERT_TRUE(doc.document.SaveAs(kept, {})) << ErrorOf(doc.document);
                EXPECT_EQ(test::ReadFileBytes(kept), edited);
                EXPECT_EQ(doc.document.GetPath(), kept);
                EXPECT_FALSE(doc.document.IsModified());
                EXPECT_FALSE(doc.document.CanUndo());
                EXPECT_EQ(fs::is_regular_file(path) ? doc.OnDisk() : Bytes{}, before);
            } else if (fs::is_regular_file(path) && c.error != kChanged) {
                lock.Close();
                fs::permissions(path, fs::perms::owner_all);
                ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
                EXPECT_EQ(doc.OnDisk(), edited);
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
    EXPECT_EQ(test::ListFolder(disk.Path()), (Names{"dense.bin", "filler", "sparse.bin"}));
}

#ifndef _WIN32
// A write that fails after others went through in place: the message names the file ranges
// already overwritten, the edits stay, and a later save writes them all.
TEST(SaveFailure, AWriteCutShortInPlaceNamesTheBytesAlreadyWritten) {
    OpenDocument doc(Bytes(200, 7));
    for (const std::uint64_t at : {0x10, 0x11, 0x20, 0xA0}) ASSERT_TRUE(doc.document.OverwriteByte(at, 0xEE));
    Bytes expected = doc.OnDisk();
    {
        const test::FileSizeLimit limit(0x80);
        ASSERT_TRUE(limit.Set());
        EXPECT_FALSE(doc.document.Save({}));
    }
    EXPECT_THAT(ErrorOf(doc.document),
                testing::EndsWith(". These bytes of the file were already written: 0x10-0x11, 0x20-0x20."));
    expected[0x10] = expected[0x11] = expected[0x20] = 0xEE;
    EXPECT_EQ(doc.OnDisk(), expected);
    EXPECT_TRUE(doc.document.IsModified());
    ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
    expected[0xA0] = 0xEE;
    EXPECT_EQ(doc.OnDisk(), expected);
}
#endif

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
