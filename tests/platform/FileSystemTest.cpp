// Files and paths through the platform layer. Reading, writing, truncating and removing files
// while a reader holds them: the document tests (tests/document), which run every save and
// every failure through these calls.

#include "platform/AbsolutePath.h"
#include "platform/AppLocation.h"
#include "platform/File.h"
#include "platform/FileContents.h"
#include "platform/PathPresence.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tvx::platform {
namespace {

using test::Bytes;
using test::TempDir;
namespace fs = std::filesystem;

TEST(File, UniqueFilesCarryThePrefixAndDoNotCollideBesideTheirParent) {
    TempDir dir;
    const std::u16string directory = dir.Path().u16string();
    // Three in a row, so that one of them meets a name already taken whatever the counter.
    std::u16string made;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(CreateUniqueFile(directory, u"TVR", made));
    const auto names = dir.List();
    ASSERT_EQ(names.size(), 3u);
    for (const auto& name : names) {
        EXPECT_EQ(name.substr(0, 3), "TVR");
        EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    }
    EXPECT_EQ(ParentDirectory(made), ParentDirectory(dir.File("x")));
    EXPECT_FALSE(CreateUniqueFile(dir.File("missing"), u"TVR", made));
    EXPECT_EQ(ParentDirectory(u"name.bin"), u"");
    EXPECT_EQ(ParentDirectory(u"dir/name.bin"), u"dir");
#ifdef _WIN32
    EXPECT_EQ(ParentDirectory(u"C:\\dir\\name.bin"), u"C:\\dir");
    EXPECT_EQ(ParentDirectory(u"C:\\name.bin"), u"C:\\");
#endif
}

TEST(FileContents, ReadsTheWholeFileUpToTheLimit) {
    TempDir dir;
    Bytes bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    test::WriteFileBytes(dir.File("a"), bytes);
    test::WriteFileBytes(dir.File("empty"), {});
    const std::tuple<const char*, std::size_t, bool, Bytes> cases[] = {
        {"a", 1u << 20, true, bytes},
        {"a", 70000, true, Bytes(bytes.begin(), bytes.begin() + 70000)},
        {"empty", 100, true, {}},
        {"missing", 100, false, {}},
    };
    for (const auto& [name, limit, ok, expected] : cases) {
        std::string read = "old";
        EXPECT_EQ(ReadFileContents(dir.File(name), limit, read), ok) << name;
        EXPECT_EQ(Bytes(read.begin(), read.end()), expected) << name;
    }
}

// Paths relative to the current folder, which is a fresh temporary folder during the test.
TEST(AbsolutePath, JoinsWithTheCurrentFolderAndDropsDotParts) {
    TempDir dir;
    const fs::path previous = fs::current_path();
    fs::create_directory(dir.Path() / "sub");
    fs::current_path(dir.Path() / "sub");
    const fs::path here = fs::current_path();
    const std::pair<std::u16string, fs::path> cases[] = {
        {u"data.bin", here / "data.bin"},
        {u"./data.bin", here / "data.bin"},
        {u"../data.bin", here.parent_path() / "data.bin"},
        {u"new/../x/./missing.bin", here / "x" / "missing.bin"},
        {(here / "a" / ".." / "b").u16string(), here / "b"},
    };
    for (const auto& [input, expected] : cases) {
        const std::optional<std::u16string> result = AbsolutePath(input);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(fs::path(*result), expected.lexically_normal()) << fs::path(input);
    }
    EXPECT_FALSE(AbsolutePath(u"").has_value());
    fs::current_path(previous);
}

// (A folder that cannot be searched leaves it unknown: the settings start-up checks that.)
TEST(PathPresence, FilesAndFoldersArePresentWhatIsNotFoundIsAbsent) {
    TempDir dir;
    test::WriteFileBytes(dir.File("plain"), {1});
    EXPECT_EQ(QueryPathPresence(dir.File("plain")), PathPresence::Present);
    EXPECT_EQ(QueryPathPresence(dir.Path().u16string()), PathPresence::Present);
    for (const std::u16string& absent : {dir.File("missing"), (dir.Path() / "missing" / "x").u16string(),
                                         (dir.Path() / "plain" / "x").u16string(), std::u16string()})
        EXPECT_EQ(QueryPathPresence(absent), PathPresence::Absent) << fs::path(absent);
}

// The build copies resources/ beside every test executable; tests do not run packaged.
TEST(AppLocation, TheExecutableDirectoryHoldsTheRuntimeFiles) {
    const std::u16string directory = ExecutableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_TRUE(fs::path(directory).is_absolute());
    EXPECT_NE(directory.back(), u'/');
    EXPECT_NE(directory.back(), u'\\');
    EXPECT_TRUE(fs::exists(fs::path(directory) / "resources" / "strings" / "en-US.txt"));
    const fs::path path(ExecutablePath());
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(path.parent_path().u16string(), directory);
    std::u16string packaged = u"unchanged";
    EXPECT_FALSE(PackageLocalStateDirectory(packaged));
    EXPECT_EQ(packaged, u"unchanged");
}

}  // namespace
}  // namespace tvx::platform
