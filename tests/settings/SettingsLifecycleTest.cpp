#include "settings/SettingsLifecycle.h"

#include "platform/AppLocation.h"
#include "settings/SettingsFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
    void Load(Language userLanguage = Language::English) {
        LoadSettingsAtStartup(settings_, path_, userLanguage);
    }

    test::TempDir dir_;
    std::u16string path_ = dir_.File("tavro.settings.json");
    AppSettings settings_;
};

TEST_F(SettingsStartup, AFirstStartWritesTheFileWithTheUsersLanguage) {
    Load(Language::Japanese);
    AppSettings expected;
    expected.appVersion = u"v1.02";
    expected.language = Language::Japanese;
    EXPECT_EQ(settings_, expected);
    EXPECT_EQ(FileText(path_), SerializeSettings(expected));
}

TEST_F(SettingsStartup, AFirstStartOnAnyOtherLocaleChoosesEnglish) {
    Load(Language::English);
    EXPECT_EQ(settings_.language, Language::English);
    EXPECT_NE(FileText(path_).find("\"language\": \"English\","), std::string::npos);
}

TEST_F(SettingsStartup, ACurrentFileIsLoadedAndNotRewritten) {
    const std::string text = "{\"appVersion\": \"v1.02\", \"theme\": \"Light\", \"language\": \"Japanese\"}";
    WriteText(path_, text);
    Load();
    EXPECT_EQ(settings_.theme, Theme::Light);
    EXPECT_EQ(settings_.language, Language::Japanese);
    EXPECT_EQ(FileText(path_), text);
}

TEST_F(SettingsStartup, AnOlderOrMissingVersionIsRewrittenWithOtherwiseUnchangedValues) {
    for (const std::string version : {"\"appVersion\": \"v1.01\", ", "\"appVersion\": \"\", ", ""}) {
        WriteText(path_, "{" + version + "\"theme\": \"Black\", \"recentFiles\": [\"x.bin\"]}");
        settings_ = AppSettings{};
        Load();
        AppSettings expected;
        expected.appVersion = u"v1.02";
        expected.theme = Theme::Black;
        expected.recentFiles = {u"x.bin"};
        EXPECT_EQ(settings_, expected) << version;
        EXPECT_EQ(FileText(path_), SerializeSettings(expected)) << version;
    }
}

TEST_F(SettingsStartup, ABadFontIsCorrectedInMemoryAndRewrittenOnlyWithAnOtherVersion) {
    const std::string current = R"({"appVersion": "v1.02", "font": {"family": "", "size": -2}})";
    WriteText(path_, current);
    Load();
    EXPECT_EQ(settings_.fontFamily, u"Consolas");
    EXPECT_EQ(settings_.fontSize, 12.0f);
    EXPECT_EQ(FileText(path_), current);

    WriteText(path_, R"({"appVersion": "v1.00", "font": {"size": 0}})");
    Load();
    EXPECT_NE(FileText(path_).find("\"size\": 12,"), std::string::npos);
}

TEST_F(SettingsStartup, AFileThatCannotBeReadIsReplacedByTheFirstStartRecord) {
    // A directory exists but cannot be opened as a file; the replacement fails in turn
    // and leaves it alone.
    fs::create_directory(dir_.Path() / "tavro.settings.json");
    settings_.theme = Theme::Light;
    Load(Language::Japanese);
    EXPECT_EQ(settings_, FirstStartSettings(Language::Japanese));
    EXPECT_TRUE(fs::is_directory(dir_.Path() / "tavro.settings.json"));
}

TEST_F(SettingsStartup, AMissingFolderCountsAsAFirstStart) {
    path_ = (dir_.Path() / "missing" / "tavro.settings.json").u16string();
    Load(Language::Japanese);
    EXPECT_EQ(settings_, FirstStartSettings(Language::Japanese));
    EXPECT_FALSE(fs::exists(dir_.Path() / "missing"));
}

TEST_F(SettingsStartup, AFolderPartNamingAFileCountsAsAFirstStart) {
    WriteText(dir_.File("plain"), "x");
    path_ = (dir_.Path() / "plain" / "tavro.settings.json").u16string();
    Load();
    EXPECT_EQ(settings_, FirstStartSettings(Language::English));
    EXPECT_EQ(FileText(dir_.File("plain")), "x");
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
    Load();
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(settings_, FirstStartSettings(Language::English));
    EXPECT_EQ(FileText(path_), R"({"theme": "Light"})");
}
#endif

TEST(SaveSettings, StampsTheVersionAndWritesTheWholeRecord) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    AppSettings s;
    s.appVersion = u"v0.1";
    s.theme = Theme::Light;
    SaveSettings(s, path);
    EXPECT_EQ(s.appVersion, u"v1.02");
    EXPECT_EQ(FileText(path), SerializeSettings(s));
}

TEST(SaveSettings, AFailedWriteLeavesTheRecordAsItIs) {
    test::TempDir dir;
    AppSettings s;
    s.recentFiles = {u"a"};
    SaveSettings(s, (dir.Path() / "missing" / "x.json").u16string());
    AppSettings expected;
    expected.appVersion = u"v1.02";
    expected.recentFiles = {u"a"};
    EXPECT_EQ(s, expected);
}

class RecentFiles : public ::testing::Test {
protected:
    std::u16string InDir(const std::u16string& name) const { return (dir_.Path() / fs::path(name)).u16string(); }

    test::TempDir dir_;
    std::u16string path_ = dir_.File("tavro.settings.json");
    AppSettings settings_;
};

TEST_F(RecentFiles, TheOpenedFileGoesFirstAndIsSaved) {
    AddRecentFile(settings_, InDir(u"a.bin"), path_);
    AddRecentFile(settings_, InDir(u"b.bin"), path_);
    EXPECT_EQ(settings_.recentFiles, (std::vector<std::u16string>{InDir(u"b.bin"), InDir(u"a.bin")}));
    AppSettings read;
    ASSERT_TRUE(ReadSettingsFile(read, path_));
    EXPECT_EQ(read.recentFiles, settings_.recentFiles);
    EXPECT_EQ(read.appVersion, u"v1.02");
}

TEST_F(RecentFiles, AnEmptyPathIsIgnored) {
    settings_.recentFiles = {u"x"};
    AddRecentFile(settings_, u"", path_);
    EXPECT_EQ(settings_.recentFiles, std::vector<std::u16string>{u"x"});
    EXPECT_FALSE(test::FileExists(path_));
}

TEST_F(RecentFiles, ThePathIsComparedIgnoringCaseAndRedundantSteps) {
    settings_.recentFiles = {InDir(u"one.bin"), InDir(u"Data.BIN"), InDir(u"two.bin"), InDir(u"sub/../DATA.bin")};
    const std::u16string opened = (dir_.Path() / "." / "data.bin").u16string();
    AddRecentFile(settings_, opened, path_);
    EXPECT_EQ(settings_.recentFiles, (std::vector<std::u16string>{opened, InDir(u"one.bin"), InDir(u"two.bin")}));
}

TEST_F(RecentFiles, CaseFoldingCoversMoreThanAscii) {
    settings_.recentFiles = {InDir(u"ÄRGER.bin"), InDir(u"Ωmega.bin")};
    AddRecentFile(settings_, InDir(u"ärger.bin"), path_);
    AddRecentFile(settings_, InDir(u"ωMEGA.bin"), path_);
    EXPECT_EQ(settings_.recentFiles, (std::vector<std::u16string>{InDir(u"ωMEGA.bin"), InDir(u"ärger.bin")}));
}

TEST_F(RecentFiles, ASeventeenthFileDropsTheOldest) {
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

}  // namespace
}  // namespace tvx
