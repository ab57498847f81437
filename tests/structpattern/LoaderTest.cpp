#include "structpattern/PatternLoader.h"
#include "tests/structpattern/PatternTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

Bytes AsBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string LoadFileError(const std::u16string& path) {
    StructPatternFile file;
    std::u16string error;
    if (LoadStructPatternFile(path, file, error)) return {};
    return Narrow(error);
}

TEST(PatternLoader, ReadsAFileFromDisk) {
    TempDir dir;
    const std::u16string path = dir.File("header.tvsd");
    WriteFileBytes(path, AsBytes("// pattern\r\nstruct Header {\r\n  uint32_t magic;\r\n};\r\n"));
    StructPatternFile file;
    std::u16string error;
    ASSERT_TRUE(LoadStructPatternFile(path, file, error)) << Narrow(error);
    EXPECT_EQ(Narrow(file.entryName), "Header");
    EXPECT_TRUE(file.entryImplicit);
    ASSERT_EQ(file.structs.size(), 1u);
    EXPECT_EQ(file.structs[0].size, 4u);
}

TEST(PatternLoader, UnreadablePathsFailToOpen) {
    TempDir dir;
    EXPECT_EQ(LoadFileError(dir.File("missing.tvsd")), "Failed to open definition file.");
    EXPECT_EQ(LoadFileError(dir.File("")), "Failed to open definition file.");  // the directory itself
}

TEST(PatternLoader, AByteOrderMarkIsDroppedBeforeCounting) {
    const std::string source = "struct A {\n  int x$;\n};";
    EXPECT_EQ(LoadError("\xEF\xBB\xBF" + source), LoadError(source));
    EXPECT_EQ(LoadError("\xEF\xBB\xBF" "struct A { int x; };"), "");
    EXPECT_EQ(LoadError("\xEF\xBB\xBF" "$"), ErrorAt("$", 1, 1, "Unexpected character in definition file."));
}

TEST(PatternLoader, OnlyWellFormedUtf8IsAccepted) {
    const std::string kNotUtf8 = "Definition file must be UTF-8.";
    EXPECT_EQ(LoadError(std::string("\xFF\xFEs\0t\0", 6)), kNotUtf8);       // UTF-16 LE
    EXPECT_EQ(LoadError("// caf\xE9\nstruct A { int x; };"), kNotUtf8);      // Latin-1, in a comment
    EXPECT_EQ(LoadError("struct A { int x; }; // \xED\xA0\x80"), kNotUtf8);  // an encoded surrogate
    EXPECT_EQ(LoadError("struct A { int x; }; // \xC0\x80"), kNotUtf8);      // overlong
    EXPECT_EQ(LoadError("\xEF\xBB"), kNotUtf8);                              // half a byte-order mark
    EXPECT_EQ(LoadError("// caf\xC3\xA9\nstruct A { int x; };"), "");
}

TEST(PatternLoader, FilesWithoutStructsFail) {
    const std::string kNone = "No struct definition was found.";
    EXPECT_EQ(LoadError(""), kNone);
    EXPECT_EQ(LoadError("\xEF\xBB\xBF"), kNone);
    EXPECT_EQ(LoadError("@sizeof_int 2 typedef int T; // nothing else"), kNone);
}

TEST(PatternLoader, ChoosesTheEntry) {
    const std::string two = "struct First { int a; }; typedef struct { char c; } Second;\n";
    EXPECT_EQ(LoadError(two), "@entry is required when multiple structs are defined.");
    for (const char* entry : {"@entry Second", "@entry second", "@entry struct SECOND", "@entry   struct   Second"}) {
        const auto file = LoadOk(two + entry);
        EXPECT_EQ(Narrow(file->entryName), "Second") << entry;
        EXPECT_FALSE(file->entryImplicit);
    }
    EXPECT_EQ(LoadError(two + "@entry Third"), "@entry refers to an undefined struct.");
    // A typedef of a struct is no struct name.
    EXPECT_EQ(LoadError(two + "typedef struct First F; @entry F"), "@entry refers to an undefined struct.");
    const auto tagged = LoadOk("struct Tag { int a; } Alias; @entry struct tag");
    EXPECT_EQ(Narrow(tagged->entryName), "Alias");
    const auto anonymous = LoadOk("struct { int a; };");
    EXPECT_EQ(Narrow(anonymous->entryName), "<anonymous>");
}

TEST(PatternLoader, LayoutErrorsComeBeforeEntryErrors) {
    EXPECT_EQ(LoadError("@entry Missing struct S { Foo f; };"), "Unknown type: Foo");
}

TEST(PatternLoader, OversizedFilesAreRefused) {
    const std::string big(kMaxPatternFileBytes + 1, ' ');
    EXPECT_EQ(LoadError(big), "Definition file is too large.");
    TempDir dir;
    const std::u16string path = dir.File("big.tvsd");
    WriteFileBytes(path, Bytes(big.begin(), big.end()));
    EXPECT_EQ(LoadFileError(path), "Definition file is too large.");
}

TEST(PatternSummary, ListsTheEntryAndTheDirectives) {
    EXPECT_EQ(Narrow(FormatPatternSummary(*LoadOk("struct Header { int a; };"))),
              "entry = Header (implicit)\r\nsizeof_short = 2\r\nsizeof_int = 4\r\nsizeof_long = 8\r\n"
              "sizeof_long_long = 8\r\nsizeof_float = 4\r\nsizeof_double = 8\r\npointer_size = 8\r\n"
              "member_align = 8");
    EXPECT_EQ(Narrow(FormatPatternSummary(*LoadOk(
                  "@entry header @member_align 0 @pointer_size 16 @sizeof_double 16 @sizeof_float 2 "
                  "@sizeof_long_long 1 @sizeof_long 1 @sizeof_int 1 @sizeof_short 1 struct Header { int a; };"))),
              "entry = Header\r\nsizeof_short = 1\r\nsizeof_int = 1\r\nsizeof_long = 1\r\n"
              "sizeof_long_long = 1\r\nsizeof_float = 2\r\nsizeof_double = 16\r\npointer_size = 16\r\n"
              "member_align = 0");
    EXPECT_EQ(Narrow(FormatPatternSummary(StructPatternFile{})).substr(0, 10), "entry = \r\n");
}

}  // namespace
}  // namespace tvx::test
