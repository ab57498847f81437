// The settings file over the program's life: the load at start-up, the writes after each
// change, and writes that fail without losing the previous file.

#include "settings/SettingsLifecycle.h"

#include "platform/AppLocation.h"
#include "platform/File.h"
#include "settings/SettingsFile.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

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

std::string FileText(const std::u16string& path) {
    const test::Bytes bytes = test::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::u16string& path, const std::string& text) {
    test::WriteFileBytes(path, test::Bytes(text.begin(), text.end()));
}

class SettingsStartup : public ::testing::Test {
protected:
    std::u16string InDir(const std::u16string& name) const { return (dir_.Path() / fs::path(name)).u16string(); }

    test::TempDir dir_;
    std::u16string path_ = dir_.File("tavro.settings.json");
    AppSettings settings_;
};

TEST_F(SettingsStartup, AFirstStartWritesTheFileWithTheUsersLanguage) {
    for (const Language language : {Language::Japanese, Language::English}) {
        fs::remove(dir_.Path() / "tavro.settings.json");
        LoadSettingsAtStartup(settings_, path_, language);
        AppSettings expected;
        expected.appVersion = u"v1.02";
        expected.language = language;
        EXPECT_EQ(settings_, expected);
        EXPECT_EQ(FileText(path_), SerializeSettings(expected));
    }
}

TEST_F(SettingsStartup, OnlyAFileOfAnotherVersionIsRewritten) {
    const std::string current = R"({"appVersion": "v1.02", "theme": "Light", "font": {"family": "", "size": -2}})";
    WriteText(path_, current);
    LoadSettingsAtStartup(settings_, path_, Language::Japanese);
    AppSettings expected = FirstStartSettings(Language::System);
    expected.theme = Theme::Light;  // a bad font is corrected in memory only
    EXPECT_EQ(settings_, expected);
    EXPECT_EQ(FileText(path_), current);
    for (const std::string version : {"\"appVersion\": \"v1.01\", ", "\"appVersion\": \"\", ", ""}) {
        WriteText(path_, "{" + version + "\"theme\": \"Black\", \"recentFiles\": [\"x.bin\"], \"font\": {\"size\": 0}}");
        settings_ = AppSettings{};
        LoadSettingsAtStartup(settings_, path_, Language::English);
        expected = FirstStartSettings(Language::System);
        expected.theme = Theme::Black;
        expected.recentFiles = {u"x.bin"};
        EXPECT_EQ(settings_, expected) << version;
        EXPECT_EQ(FileText(path_), SerializeSettings(expected)) << version;
    }
}

TEST_F(SettingsStartup, AFileThatCannotBeReadGivesTheFirstStartRecordAndLosesNothing) {
    // A directory in the file's place cannot be read, and its replacement fails in turn.
    fs::create_directory(dir_.Path() / "tavro.settings.json");
    settings_.theme = Theme::Light;
    LoadSettingsAtStartup(settings_, path_, Language::Japanese);
    EXPECT_EQ(settings_, FirstStartSettings(Language::Japanese));
    EXPECT_TRUE(fs::is_directory(dir_.Path() / "tavro.settings.json"));
    // A missing folder, and a folder part naming a file, count as a first start.
    LoadSettingsAtStartup(settings_, InDir(u"missing/tavro.settings.json"), Language::English);
    EXPECT_EQ(settings_, FirstStartSettings(Language::English));
    EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
    WriteText(InDir(u"plain"), "x");
    LoadSettingsAtStartup(settings_, InDir(u"plain/tavro.settings.json"), Language::Japanese);
    EXPECT_EQ(settings_, FirstStartSettings(Language::Japanese));
    EXPECT_EQ(FileText(InDir(u"plain")), "x");
}

#ifndef _WIN32
TEST_F(SettingsStartup, AFileWhoseExistenceCannotBeToldIsNeitherReadNorReplaced) {
    const fs::path locked = dir_.Path() / "locked";
    fs::create_directory(locked);
    path_ = (locked / "tavro.settings.json").u16string();
    WriteText(path_, R"({"theme": "Light"})");
    fs::permissions(locked, fs::perms::none);
    std::error_code error;
    if (fs::exists(locked / "tavro.settings.json", error)) {
        fs::permissions(locked, fs::perms::owner_all);
        GTEST_SKIP() << "this user passes folder permissions";
    }
    LoadSettingsAtStartup(settings_, path_, Language::English);
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(settings_, FirstStartSettings(Language::English));
    EXPECT_EQ(FileText(path_), R"({"theme": "Light"})");
}
#endif

TEST_F(SettingsStartup, SavingStampsTheVersionAndAFailureKeepsTheRecord) {
    settings_.appVersion = u"v0.1";
    settings_.theme = Theme::Light;
    SaveSettings(settings_, path_);
    EXPECT_EQ(settings_.appVersion, u"v1.02");
    EXPECT_EQ(FileText(path_), SerializeSettings(settings_));
    const AppSettings saved = settings_;
    SaveSettings(settings_, InDir(u"missing/x.json"));
    EXPECT_EQ(settings_, saved);
}

TEST_F(SettingsStartup, RecentFilesPutTheOpenedFileFirstOnceAndAreSaved) {
    AddRecentFile(settings_, u"", path_);  // ignored
    EXPECT_FALSE(test::FileExists(path_));
    // The same file under other case (beyond ASCII too) and redundant steps is moved up.
    settings_.recentFiles = {InDir(u"one.bin"), InDir(u"Data.BIN"), InDir(u"two.bin"), InDir(u"sub/../DATA.bin"),
                             InDir(u"ÄRGER.bin"), InDir(u"Ωmega.bin")};
    const std::u16string opened = (dir_.Path() / "." / "data.bin").u16string();
    AddRecentFile(settings_, opened, path_);
    AddRecentFile(settings_, InDir(u"ärger.bin"), path_);
    AddRecentFile(settings_, InDir(u"ωMEGA.bin"), path_);
    EXPECT_EQ(settings_.recentFiles, (std::vector<std::u16string>{InDir(u"ωMEGA.bin"), InDir(u"ärger.bin"), opened,
                                                                  InDir(u"one.bin"), InDir(u"two.bin")}));
    AppSettings read;
    ASSERT_TRUE(ReadSettingsFile(read, path_));
    EXPECT_EQ(read, settings_);
    // A seventeenth file drops the oldest.
    for (int i = 0; i < 17; ++i) AddRecentFile(settings_, InDir(u"f" + fs::path(std::to_string(i)).u16string()), path_);
    ASSERT_EQ(settings_.recentFiles.size(), 16u);
    EXPECT_EQ(settings_.recentFiles.front(), InDir(u"f16"));
    EXPECT_EQ(settings_.recentFiles.back(), InDir(u"f1"));
}

TEST(SettingsLocation, UnpackedTheFileLiesBesideTheExecutable) {
    std::u16string packaged;
    ASSERT_FALSE(platform::PackageLocalStateDirectory(packaged)) << "tests do not run packaged";
    const std::u16string directory = platform::ExecutableDirectory();
    EXPECT_EQ(fs::path(ComputeSettingsPath(directory)), fs::path(directory) / "tavro.settings.json");
}

// A write that fails must leave the previous settings file exactly as it was and no
// temporary file behind.
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

TEST(SettingsWriteSafety, ADirectoryInPlaceOrAMissingFolderStaysAsItIs) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "tavro.settings.json");
    test::WriteFileBytes((dir.Path() / "tavro.settings.json" / "inside.txt").u16string(), {1, 2, 3});
    EXPECT_FALSE(WriteSettingsFile(ChangedRecord(), dir.File("tavro.settings.json")));
    EXPECT_FALSE(WriteSettingsFile(AppSettings{}, (dir.Path() / "missing" / "tavro.settings.json").u16string()));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
    EXPECT_EQ(test::ReadFileBytes((dir.Path() / "tavro.settings.json" / "inside.txt").u16string()),
              (test::Bytes{1, 2, 3}));
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
