#include "platform/PathPresence.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tvx::platform {
namespace {

namespace fs = std::filesystem;

TEST(PathPresence, FilesAndFoldersArePresent) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("a"), {1});
    EXPECT_EQ(QueryPathPresence(dir.File("a")), PathPresence::Present);
    EXPECT_EQ(QueryPathPresence(dir.Path().u16string()), PathPresence::Present);
}

TEST(PathPresence, NotFoundKindsAreAbsent) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("plain"), {1});
    EXPECT_EQ(QueryPathPresence(dir.File("missing")), PathPresence::Absent);
    EXPECT_EQ(QueryPathPresence((dir.Path() / "missing" / "x").u16string()), PathPresence::Absent);
    EXPECT_EQ(QueryPathPresence((dir.Path() / "plain" / "x").u16string()), PathPresence::Absent);
    EXPECT_EQ(QueryPathPresence(u""), PathPresence::Absent);
}

#ifndef _WIN32
TEST(PathPresence, AFolderThatCannotBeSearchedLeavesItUnknown) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "locked");
    test::WriteFileBytes((dir.Path() / "locked" / "x").u16string(), {1});
    fs::permissions(dir.Path() / "locked", fs::perms::none);
    const PathPresence presence = QueryPathPresence((dir.Path() / "locked" / "x").u16string());
    fs::permissions(dir.Path() / "locked", fs::perms::owner_all);
    if (presence == PathPresence::Present) GTEST_SKIP() << "this user passes folder permissions";
    EXPECT_EQ(presence, PathPresence::Unknown);
}
#endif

}  // namespace
}  // namespace tvx::platform
