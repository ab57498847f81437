#include "platform/AppLocation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tvx::platform {
namespace {

namespace fs = std::filesystem;

TEST(AppLocation, TheExecutableDirectoryHoldsTheRuntimeFiles) {
    const std::u16string directory = ExecutableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_TRUE(fs::path(directory).is_absolute());
    EXPECT_NE(directory.back(), u'/');
    EXPECT_NE(directory.back(), u'\\');
    // The build copies resources/ beside every test executable.
    EXPECT_TRUE(fs::exists(fs::path(directory) / "resources" / "strings" / "en-US.txt"));
}

TEST(AppLocation, TheExecutablePathNamesAFileInTheExecutableDirectory) {
    const fs::path path(ExecutablePath());
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(path.parent_path().u16string(), ExecutableDirectory());
}

TEST(AppLocation, TestsDoNotRunPackaged) {
    std::u16string directory = u"unchanged";
    EXPECT_FALSE(PackageLocalStateDirectory(directory));
    EXPECT_EQ(directory, u"unchanged");
}

}  // namespace
}  // namespace tvx::platform
