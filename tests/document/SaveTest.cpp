#include "platform/Utf8.h"
#include "tests/document/OpenDocument.h"

#ifdef _WIN32
#include <windows.h>
#include <sddl.h>
#else
#include <cstdlib>
#endif

namespace tvx {
namespace {

using test::Bytes;
using test::OpenDocument;
namespace fs = std::filesystem;

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

// The temporary file goes beside the file, never to the system's temporary folder.
TEST(Save, BareFileNameSavesThroughTheCurrentFolder) {
    test::TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
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
    std::filesystem::current_path(previous);
#ifndef _WIN32
    if (tmpdir.empty()) ::unsetenv("TMPDIR");
    else ::setenv("TMPDIR", tmpdir.c_str(), 1);
#endif
    ASSERT_TRUE(saved) << ErrorOf(document);
    EXPECT_EQ(onDisk, Bytes({0, 1, 2, 3}));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"bare.bin"});
}

// The file replaced through a temporary file keeps what the system keeps about it.
#ifdef _WIN32
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
    const auto dacl = [&] {
        DWORD needed = 0;
        ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
        std::vector<std::uint8_t> buffer(needed);
        wchar_t* text = nullptr;
        if (needed == 0 || !::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed) ||
            !::ConvertSecurityDescriptorToStringSecurityDescriptorW(buffer.data(), SDDL_REVISION_1,
                                                                   DACL_SECURITY_INFORMATION, &text, nullptr))
            return std::wstring();
        std::wstring result(text);
        ::LocalFree(text);
        return result;
    };
    const std::wstring before = dacl();
    ASSERT_TRUE(doc.document.InsertByte(0, 0));
    ASSERT_TRUE(doc.document.Save({})) << ErrorOf(doc.document);
    EXPECT_EQ(doc.OnDisk(), Bytes({0, 1, 2, 3}));
    EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    if (secured) {
        EXPECT_EQ(dacl(), before);
    }
    EXPECT_EQ(doc.dir.List(), std::vector<std::string>{"doc.bin"});
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
    EXPECT_EQ(doc.dir.List(), (std::vector<std::string>{"doc.bin", "link.bin"}));
}
#endif

}  // namespace
}  // namespace tvx
