#include "platform/AbsolutePath.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tvx::platform {
namespace {

namespace fs = std::filesystem;

// Paths relative to the current folder, which is a fresh temporary folder during the test.
TEST(AbsolutePath, JoinsWithTheCurrentFolderAndDropsDotParts) {
    test::TempDir dir;
    const fs::path previous = fs::current_path();
    fs::create_directory(dir.Path() / "sub");
    fs::current_path(dir.Path() / "sub");
    const fs::path here = fs::current_path();
    struct Case {
        std::u16string input;
        fs::path expected;
    };
    const Case cases[] = {
        {u"data.bin", here / "data.bin"},
        {u"./data.bin", here / "data.bin"},
        {u"../data.bin", here.parent_path() / "data.bin"},
        {u"new/../x/./missing.bin", here / "x" / "missing.bin"},
        {(here / "a" / ".." / "b").u16string(), here / "b"},
    };
    for (const Case& c : cases) {
        const std::optional<std::u16string> result = AbsolutePath(c.input);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(fs::path(*result), c.expected.lexically_normal()) << fs::path(c.input);
    }
    EXPECT_FALSE(AbsolutePath(u"").has_value());
    fs::current_path(previous);
}

}  // namespace
}  // namespace tvx::platform
