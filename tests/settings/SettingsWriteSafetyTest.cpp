// A write that fails must leave the previous settings file exactly as it was and no
// temporary file behind.

#include "settings/SettingsFile.h"

#include "platform/File.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#endif

namespace tvx {
namespace {

namespace fs = std::filesystem;

AppSettings ChangedRecord() {
    AppSettings s;
    s.theme = Theme::Light;
    s.recentFiles.assign(16, u"/a/rather/long/path/to/make/the/file/bigger/than/before.bin");
    return s;
}

// Writes a first record and returns its bytes.
test::Bytes WriteOriginal(const std::u16string& path) {
    AppSettings original;
    original.fontFamily = u"Original";
    EXPECT_TRUE(WriteSettingsFile(original, path));
    return test::ReadFileBytes(path);
}

TEST(SettingsWriteSafety, ATargetThatIsADirectoryStaysAndNoTemporaryFileRemains) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "tavro.settings.json");
    test::WriteFileBytes((dir.Path() / "tavro.settings.json" / "inside.txt").u16string(), {1, 2, 3});
    EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), dir.File("tavro.settings.json")));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
    EXPECT_EQ(test::ReadFileBytes((dir.Path() / "tavro.settings.json" / "inside.txt").u16string()),
              (test::Bytes{1, 2, 3}));
}

TEST(SettingsWriteSafety, AMissingFolderFailsWithoutCreatingAnything) {
    test::TempDir dir;
    EXPECT_FALSE(WriteSettingsFile(AppSettings{}, (dir.Path() / "missing" / "tavro.settings.json").u16string()));
    EXPECT_TRUE(dir.List().empty());
}

TEST(SettingsWriteSafety, AFullDiskLeavesThePreviousFileByteIdenticalWithTheSystemsMessage) {
    test::TempDir dir;
    const test::SmallFileSystem disk(dir.Path(), 64 * 1024);
    if (!disk.Unavailable().empty()) GTEST_SKIP() << "no small file system to fill: " << disk.Unavailable();
    const auto path = (disk.Path() / "tavro.settings.json").u16string();
    const test::Bytes before = WriteOriginal(path);
    test::FillFileSystem(disk.Path());

    EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
#ifndef _WIN32
    EXPECT_EQ(platform::SystemErrorText(platform::LastError()), platform::SystemErrorText(ENOSPC));
#endif
    EXPECT_EQ(test::ReadFileBytes(path), before);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"filler", "tavro.settings.json"}));
}

#ifndef _WIN32
// The file size limit makes the write of the temporary file fail part-way, as a full disk
// would; it binds root as well, unlike folder permissions.
TEST(SettingsWriteSafety, AWriteCutShortLeavesThePreviousFileByteIdentical) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    const test::Bytes before = WriteOriginal(path);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteSettingsFile(ChangedRecord(), path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}

TEST(SettingsWriteSafety, AReadOnlyFolderLeavesThePreviousFileByteIdentical) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    const test::Bytes before = WriteOriginal(path);
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool probeCreated = [&] {
        std::u16string probe;
        if (!platform::CreateUniqueFile(dir.Path().u16string(), u"PRB", probe)) return false;
        platform::RemoveFile(probe);
        return true;
    }();
    if (probeCreated) {
        fs::permissions(dir.Path(), fs::perms::owner_all);
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}
#else
// Another program holding the settings file open without delete sharing blocks the
// replacement; the file must stay as it was.
TEST(SettingsWriteSafety, AFileHeldOpenByAnotherProgramStaysByteIdentical) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    const test::Bytes before = WriteOriginal(path);
    {
        const platform::FileHandle holder = platform::OpenExistingForWriting(path);
        ASSERT_TRUE(holder.IsOpen());
        EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), path));
    }
    EXPECT_EQ(test::ReadFileBytes(path), before);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}
#endif

}  // namespace
}  // namespace tvx
