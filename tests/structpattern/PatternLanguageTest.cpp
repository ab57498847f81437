// The struct pattern language from source text to layouts: tokens, every load error with its
// position, type names, layouts, files on disk and deep chains.

#include "platform/Utf8.h"
#include "structpattern/CharClass.h"
#include "structpattern/PatternError.h"
#include "structpattern/PatternLexer.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/PatternParser.h"
#include "structpattern/StructRows.h"
#include "structpattern/TypeNames.h"
#include "tests/structpattern/PatternTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tvx::test {
namespace {

constexpr const char* kUnexpected = "Unexpected character in definition file.";

// The error text of loading the UTF-8 pattern source; empty when it loads.
std::string LoadError(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    if (LoadStructPatternBytes(source, file, error)) return {};
    EXPECT_FALSE(error.empty()) << "a failed load must say why";
    return Narrow(error);
}

// The expected text of an error at (line, column): the head, the source line and a caret.
std::string ErrorAt(std::string_view sourceLine, unsigned line, unsigned column, std::string_view message) {
    return "Line " + std::to_string(line) + ", Col " + std::to_string(column) + ": " + std::string(message) +
           "\r\n" + std::string(sourceLine) + "\r\n" + std::string(column - 1, ' ') + "^";
}

// "kind:text@line:column" per token, joined by blanks; "error: ..." on failure.
std::string Lex(std::string_view source) {
    std::u16string error;
    const std::vector<PatternToken> tokens = TokenizePattern(platform::DecodeUtf8(source), error);
    if (tokens.empty()) return "error: " + Narrow(error);
    EXPECT_TRUE(error.empty());
    std::string text;
    for (const PatternToken& token : tokens) {
        static const char* const kKinds[] = {"id", "num", "punct", "end"};
        text += std::string(text.empty() ? "" : " ") + kKinds[static_cast<int>(token.kind)] + ":" +
                Narrow(token.text) + "@" + std::to_string(token.line) + ":" + std::to_string(token.column);
    }
    return text;
}

TEST(PatternLexer, TokensAndPositions) {
    const struct {
        std::string_view source;
        std::string tokens;
    } kCases[] = {
        {"struct S{int a;};",
         "id:struct@1:1 id:S@1:8 punct:{@1:9 id:int@1:10 id:a@1:14 punct:;@1:15 punct:}@1:16 punct:;@1:17 end:@1:18"},
        {"@,[]*", "punct:@@1:1 punct:,@1:2 punct:[@1:3 punct:]@1:4 punct:*@1:5 end:@1:6"},
        // Numbers are runs of decimal digits only.
        {"12ab _9", "num:12@1:1 id:ab@1:3 id:_9@1:6 end:@1:8"},
        // Carriage returns do not count; a tab is one column.
        {"struct A {\r\n\tint x;", "id:struct@1:1 id:A@1:8 punct:{@1:10 id:int@2:2 id:x@2:6 punct:;@2:7 end:@2:8"},
        {"/*a\nb*/x", "id:x@2:4 end:@2:5"},
        {"// c\r\nx", "id:x@2:1 end:@2:2"},
        {"/*\xF0\x9F\x98\x80*/x", "id:x@1:7 end:@1:8"},  // beyond the Basic Plane: two columns
        // Non-ASCII letters and blanks follow one portable table: "été 幅 Ω", an ideographic space.
        {"\xC3\xA9t\xC3\xA9 \xE5\xB9\x85 \xCE\xA9", "id:\xC3\xA9t\xC3\xA9@1:1 id:\xE5\xB9\x85@1:5 id:\xCE\xA9@1:7 end:@1:8"},
        {"a\xE3\x80\x80" "b", "id:a@1:1 id:b@1:3 end:@1:4"},
        {"int /* open *", "error: Unterminated block comment."},
    };
    for (const auto& c : kCases) EXPECT_EQ(Lex(c.source), c.tokens) << c.source;
    // The multiplication sign, a letter beyond the Basic Plane and an Arabic-Indic digit are no letters.
    const std::string kBad[] = {"/", "-1", "\"", "\xC3\x97", "\xF0\x9D\x90\x80", "\xD9\xA3", std::string(1, '\0')};
    for (const std::string& bad : kBad)
        EXPECT_EQ(Lex("a" + bad), "error: " + ErrorAt("a" + bad, 1, 2, kUnexpected)) << bad;
}

TEST(CharClass, EveryLetterLowersToALetterThatMapsToItself) {
    const std::pair<char16_t, char16_t> kPairs[] = {{u'Q', u'q'},           {u'\u00C9', u'\u00E9'},
                                                    {u'\u00D7', u'\u00D7'}, {u'\u0391', u'\u03B1'},
                                                    {u'\u038F', u'\u03CE'}, {u'\u0401', u'\u0451'},
                                                    {u'\u042F', u'\u044F'}, {u'\u5E45', u'\u5E45'}};
    for (const auto& [upper, lower] : kPairs) EXPECT_EQ(ToPatternLower(upper), lower) << +upper;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<char16_t>(c);
        if (!IsPatternLetter(unit)) continue;
        const char16_t lower = ToPatternLower(unit);
        EXPECT_TRUE(IsPatternLetter(lower)) << static_cast<unsigned>(c);
        EXPECT_EQ(ToPatternLower(lower), lower) << static_cast<unsigned>(c);
    }
    EXPECT_FALSE(IsPatternLetter(u'\u0387'));  // Greek ano teleia is punctuation
    EXPECT_FALSE(IsPatternSpace(u'\uFEFF'));
}

TEST(FormatPatternError, ExcerptsTheLineAndPointsAtTheColumn) {
    const struct {
        std::u16string_view source;
        unsigned line, column;
        const char* text;
    } kCases[] = {
        {u"struct A {\r\n\tint x$;\r\n\r\n}", 3, 1, "Line 3, Col 1: M"},  // empty line
        {u"struct A {\r\n\tint x$;\r\n\r\n}", 9, 1, "Line 9, Col 1: M"},  // past the end
        {u"struct A {", 0, 5, "Line 0, Col 5: M"},
        {u"struct A {", 1, 0, "Line 1, Col 0: M\r\nstruct A {\r\n^"},
        {u"last", 1, 5, "Line 1, Col 5: M\r\nlast\r\n    ^"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Narrow(FormatPatternError(std::u16string(c.source), c.line, c.column, u"M")), c.text) << c.text;
}

// Every load error with its position: at column (line 1) with the line as excerpt, or bare
// when column is 0.
TEST(PatternLoader, EveryErrorWithItsPosition) {
    const struct {
        std::string_view source;
        unsigned column;
        const char* message;
    } kCases[] = {
        {"int x;", 1, "Unsupported top-level declaration."},
        {"@ 4", 1, "Expected directive name."}, {"@foo 4", 1, "Unknown directive."},
        {"@entry struct ;", 15, "Expected struct name after @entry struct."},
        {"@entry 5", 8, "Expected type name after @entry."},
        {"@foo bar", 6, "Expected numeric directive value."},
        {"@sizeof_int 99999999999999999999", 13, "Invalid directive number."},
        {"typedef int T", 14, "Expected ';' after typedef declaration."},
        {"  typedef int T[4];", 3, "Typedef arrays are not supported."},
        {"struct A;", 1, "Unsupported struct declaration."}, {"typedef struct ;", 9, "Unsupported struct declaration."},
        {"typedef struct A *P;", 18, "Expected typedef alias name."},
        {"typedef struct A B C;", 20, "Expected ';' after typedef."},
        {"struct A { int x; } B C;", 23, "Expected ';' after struct declaration."},
        {"struct S {", 0, "Expected '}' to close struct body."},
        {"struct S { int a; ", 0, "Expected '}' to close struct body."},
        {"struct S { struct T { int a; } t; };", 21, "Inline nested struct declarations are not supported."},
        {"struct S { int a }", 19, "Expected ';' after member declaration."},
        {"struct S { ; };", 14, "Empty declaration."}, {"typedef ;", 1, "Empty declaration."},
        {"struct S { int a, b; };", 12, "Multiple declarators are not supported in v1."},
        {"typedef int A, B;", 9, "Multiple declarators are not supported in v1."},
        {"struct S { * ; };", 12, "Declaration name was not found."},
        {"struct S { char a[] * ; };", 12, "Unexpected tokens after flexible array declaration."},
        {"struct S { char a[2][3]; };", 12, "Unexpected tokens after array declaration."},
        {"struct S { char a[99999999999999999999]; };", 12, "Invalid array count."},
        {"struct S { char a[4 5]; };", 12, "Invalid array declaration."},
        {"struct S { char a[*]; };", 12, "Invalid array declaration."},
        {"struct S { char a[4; };", 12, "Invalid array declaration."},
        {"struct S { char a[N]; };", 12, "Unexpected tokens after declaration name."},
        {"struct S { int [4] a; };", 12, "Unsupported declaration syntax."},
        {"struct S { a; };", 12, "Type specifier was not found."},
        {"struct A { int x; }; struct a { int y; };", 0, "Duplicate struct type name: a"},
        {"struct { int x; } A; struct { int y; } a;", 0, "Duplicate struct type name: a"},
        {"typedef int T; typedef long t;", 0, "Duplicate typedef name: t"},
        // Layout.
        {"struct A { struct A a; };", 0, "Direct recursive struct embedding is not allowed."},
        {"struct S { Foo p; };", 0, "Unknown type: Foo"},
        {"struct S { int a b; };", 0, "Unknown type: int a"},  // the last identifier is the name
        {"typedef struct P P; struct S { P x; };", 0, "Unknown type: struct P"},
        {"struct S { char data[]; int n; };", 12, "Flexible array member must be the last member."},
        {"struct S { void v; };", 12, "Unsupported zero-sized member type: v"},
        {"typedef A B; typedef B A; struct S { A x; };", 0, "Circular typedef definition: A"},
        // A failure in a struct the entry never uses still fails the load, before entry errors.
        {"@entry Good struct Good { int a; }; struct Bad { Nope n; };", 0, "Unknown type: Nope"},
        // Sizes never wrap past 64 bits: count times size, offset plus size, alignment,
        // trailing padding, an embedded struct.
        {"struct S { int a[9223372036854775807]; };", 12, "Size or offset of member is too large: a"},
        {"struct S { char a[18446744073709551615]; char b; };", 42, "Size or offset of member is too large: b"},
        {"struct S { char a[18446744073709551615]; int b; };", 42, "Size or offset of member is too large: b"},
        {"struct S { int a; char b[18446744073709551611]; };", 19, "Size or offset of member is too large: b"},
        {"struct B { char a[18446744073709551615]; }; struct S { struct B x; struct B y; }; @entry S", 68,
         "Size or offset of member is too large: y"},
        // The file and the entry.
        {std::string_view("\xFF\xFEs\0t\0", 6), 0, "Definition file must be UTF-8."},  // UTF-16 LE
        {"", 0, "No struct definition was found."},
        {"@sizeof_int 2 typedef int T; // nothing else", 0, "No struct definition was found."},
        {"struct A { int x; }; struct B { int y; };", 0, "@entry is required when multiple structs are defined."},
        {"struct A { int x; }; struct B { int y; }; @entry C", 0, "@entry refers to an undefined struct."},
    };
    for (const auto& c : kCases) {
        const std::string expected = c.column == 0 ? c.message : ErrorAt(c.source, 1, c.column, c.message);
        EXPECT_EQ(LoadError(c.source), expected) << c.source;
    }
    for (const char* source : {"@member_align 2", "@sizeof_double 2", "@sizeof_float 1", "@sizeof_long_long 32"})
        EXPECT_EQ(LoadError(source), ErrorAt(source, 1, 1, "Directive value is not allowed.")) << source;
    // At the end of a file there is no excerpt; a byte-order mark does not move positions.
    EXPECT_EQ(LoadError("struct S { int a\n"), "Line 2, Col 1: Expected ';' after member declaration.");
    EXPECT_EQ(LoadError("@entry\r\n"), "Line 2, Col 1: Expected type name after @entry.");
    EXPECT_EQ(LoadError("\xEF\xBB\xBF" "struct A {\n  int x$;\n};"), ErrorAt("  int x$;", 2, 8, kUnexpected));
}

TEST(PatternParser, OperationsCalledOffTheirKeyword) {
    ParseState state;
    state.source = u"int x;";
    std::u16string error;
    state.tokens = TokenizePattern(state.source, error);
    EXPECT_FALSE(ParseDirective(state));
    EXPECT_EQ(Narrow(state.error), "Expected '@' for directive.");
    EXPECT_FALSE(ParseTypedef(state));
    EXPECT_EQ(Narrow(state.error), ErrorAt("int x;", 1, 1, "Expected 'typedef'."));
    EXPECT_FALSE(ParseStructDeclaration(state, true));
    EXPECT_EQ(Narrow(state.error), ErrorAt("int x;", 1, 1, "Expected 'struct'."));
    EXPECT_FALSE(MatchKeyword(state, u"struct"));
    EXPECT_EQ(state.cursor, 0u);
    // Registering a name again for the struct it denotes changes nothing; for another, fails.
    state.structNames = {{u"foo", 0}};
    EXPECT_TRUE(RegisterStructName(state, u"FOO", 0));
    EXPECT_EQ(state.structNames.size(), 1u);
    EXPECT_FALSE(RegisterStructName(state, u"FOO", 1));
    EXPECT_EQ(Narrow(state.error), "Duplicate struct type name: FOO");
    EXPECT_TRUE(RegisterStructName(state, u"", 1));
    EXPECT_TRUE(RegisterTypedefName(state, u"", TypeRef{}));
}

TEST(TypeNames, NormalizingAndBuiltinSizes) {
    EXPECT_EQ(Narrow(NormalizeTypeName(u"  Unsigned \t\u00A0 LONG\r\n")), "unsigned long");
    EXPECT_EQ(Narrow(NormalizeTypeName(u" \t\r\n")), "");
    EXPECT_EQ(Narrow(NormalizeTypeName(u"\u00A0x")), " x");  // only blank, tab, CR and LF are trimmed
    for (const char16_t* identifier : {u"STRUCT", u"Struct", u"struct", u"structs", u"\u00C9T\u00C9", u"_x9"}) {
        for (const char16_t* normalized : {u"struct", u"\u00E9t\u00E9", u"_x9"})
            EXPECT_EQ(IdentifierEquals(identifier, normalized), NormalizeTypeName(identifier) == normalized);
    }
    // Fixed-width names ignore the directives.
    ParseState state;
    state.sizeof_short = 8;
    state.sizeof_int = 1;
    const std::pair<const char16_t*, unsigned> kSizes[] = {
        {u"unsigned short", 8}, {u"uint16_t", 2}, {u"signed int", 1}, {u"int32_t", 4}, {u"void", 0}};
    for (const auto& [name, size] : kSizes) EXPECT_EQ(BuiltinTypeSize(state, name), size) << Narrow(name);
    for (const char16_t* name : {u"unsigned", u"short int", u"long double", u"bool", u"size_t", u"const int", u"Int"})
        EXPECT_FALSE(BuiltinTypeSize(state, name).has_value()) << Narrow(name);
}

// "name@offset+size" per field, joined by blanks.
std::string FieldsOf(const StructLayout& layout) {
    std::string text;
    for (const FieldLayout& field : layout.fields)
        text += std::string(text.empty() ? "" : " ") + Narrow(field.name) + "@" + std::to_string(field.offset) +
                "+" + std::to_string(field.size);
    return text;
}

// The entry each file chooses, its fields, size and alignment, and the bytes a request for it
// carries (256 more after a flexible array at its end).
TEST(StructLayout, EntryFieldsSizeAlignmentAndRequestSize) {
    const std::string header = kHeader;
    const struct {
        std::string source;
        const char* entry;
        bool implicit;
        const char* fields;
        std::uint64_t size, alignment, request;
    } kCases[] = {
        {header, "Header", true, "magic@0+4 version@4+2 <padding>@6+2 count@8+4 <padding>@12+4 scale@16+8 name@24+0",
         24, 8, 24 + 256},
        {"@member_align 0\n" + header, "Header", true, "magic@0+4 version@4+2 count@6+4 scale@10+8 name@18+0", 18, 1,
         18 + 256},
        {"struct S {\n  unsigned   LONG  long v;\n  int * * p;\n  char n[3];\n  char f[];\n};", "S", true,
         "v@0+8 p@8+8 n@16+3 f@19+0 <padding>@19+5", 24, 8, 24},
        // Directives apply to the whole file; a 16-byte long long still aligns to 8.
        {"@sizeof_int 2 struct S { int a; long long b; float *p; uint16_t u; } ; "
         "@sizeof_int 8 @pointer_size 4 @sizeof_long_long 16",
         "S", true, "a@0+8 b@8+16 p@24+4 u@28+2 <padding>@30+2", 32, 8, 32},
        {"@entry Outer struct Outer { char c; struct Inner in; Pt p; struct Pt *next; };"
         "struct Inner { short s; double d; }; struct Point { int x; int y; } Pt;",
         "Outer", false, "c@0+1 <padding>@1+7 in@8+16 p@24+8 next@32+8", 40, 8, 40},
        // A typedef never hides a built-in, and wins over a struct of the same name.
        {"typedef struct Node Node; typedef Node *NodePtr; typedef NodePtr Link; typedef uint8_t byte;\n"
         "typedef char int;\nstruct Node { int v; Node *next; Link alt; byte b[3]; int i; };",
         "Node", true, "v@0+4 <padding>@4+4 next@8+8 alt@16+8 b@24+3 <padding>@27+1 i@28+4", 32, 8, 32},
        // Pointers need no target.
        {"typedef T T; struct S { Foo *p; struct S *self; T *t; int *none[0]; };", "S", true,
         "p@0+8 self@8+8 t@16+8 none@24+0", 24, 8, 24},
        {"struct E { };", "E", true, "", 0, 1, 0},
        {"@member_align 0 struct S { char a[18446744073709551614]; char b; };", "S", true,
         "a@0+18446744073709551614 b@18446744073709551614+1", 18446744073709551615u, 1, kMaxStructRequestBytes},
        {"@member_align 0 struct H { char a[18446744073709551614]; char tail[]; };", "H", true,
         "a@0+18446744073709551614 tail@18446744073709551614+0", 18446744073709551614u, 1, kMaxStructRequestBytes},
        // The flexible array of an embedded struct at the end counts; trailing padding, an array
        // of structs or a member after it hide it.
        {"@entry Outer struct Tail { int n; char data[]; }; struct Outer { char c; struct Tail t; };", "Outer",
         false, "c@0+1 <padding>@1+3 t@4+4", 8, 4, 8 + 256},
        {"@entry O struct T { int n; char d[]; }; struct O { struct T t[2]; };", "O", false, "t@0+8", 8, 4, 8},
        // The file's only struct is the entry, else @entry chooses (by tag or alias, any case).
        {"\xEF\xBB\xBF" "// caf\xC3\xA9\nstruct { int a; };", "<anonymous>", true, "a@0+4", 4, 4, 4},
        {"struct A { int x; } B; typedef struct { int y; } S; struct { int z; }; @entry struct s", "S", false,
         "y@0+4", 4, 4, 4},
    };
    for (const auto& c : kCases) {
        const auto file = LoadOk(c.source);
        EXPECT_EQ(Narrow(file->entryName), c.entry) << c.source;
        EXPECT_EQ(file->entryImplicit, c.implicit) << c.source;
        const StructLayout* layout = FindEntryLayout(*file);
        ASSERT_NE(layout, nullptr) << c.source;
        EXPECT_EQ(FieldsOf(*layout), c.fields) << c.source;
        EXPECT_EQ(layout->size, c.size) << c.source;
        EXPECT_EQ(layout->alignment, c.alignment) << c.source;
        EXPECT_EQ(StructRequestSize(*file), c.request) << c.source;
    }
    EXPECT_EQ(StructRequestSize(StructPatternFile{}), 0u);
}

TEST(PatternLoader, FilesOnDisk) {
    TempDir dir;
    const auto loadFile = [](const std::u16string& path) {
        StructPatternFile file;
        std::u16string error;
        return LoadStructPatternFile(path, file, error) ? "size " + std::to_string(file.structs[0].size)
                                                        : Narrow(error);
    };
    const std::string text = "// pattern\r\nstruct Header {\r\n  uint32_t magic;\r\n};\r\n";
    WriteFileBytes(dir.File("header.tvsd"), Bytes(text.begin(), text.end()));
    EXPECT_EQ(loadFile(dir.File("header.tvsd")), "size 4");
    EXPECT_EQ(loadFile(dir.File("")), "Failed to open definition file.");  // the directory itself
    WriteFileBytes(dir.File("big.tvsd"), Bytes(kMaxPatternFileBytes + 1, ' '));
    EXPECT_EQ(loadFile(dir.File("big.tvsd")), "Definition file is too large.");
}

TEST(PatternSummary, ListsTheEntryAndTheDirectives) {
    EXPECT_EQ(Narrow(FormatPatternSummary(*LoadOk("struct Header { int a; };"))).substr(0, 27),
              "entry = Header (implicit)\r\n");
    // Directive names ignore case and the last one of a name wins.
    EXPECT_EQ(Narrow(FormatPatternSummary(*LoadOk(
                  "@entry header @member_align 0 @pointer_size 16 @sizeof_double 16 @sizeof_float 2 "
                  "@SIZEOF_LONG_LONG 1 @sizeof_long 1 @sizeof_int 8 @sizeof_int 1 @sizeof_short 1 "
                  "struct Header { int a; };"))),
              "entry = Header\r\nsizeof_short = 1\r\nsizeof_int = 1\r\nsizeof_long = 1\r\n"
              "sizeof_long_long = 1\r\nsizeof_float = 2\r\nsizeof_double = 16\r\npointer_size = 16\r\n"
              "member_align = 0");
    EXPECT_EQ(Narrow(FormatPatternSummary(StructPatternFile{})).substr(0, 10), "entry = \r\n");
}

// A chain of count structs, each embedding the next; the last ends with a flexible array.
std::string StructChain(int count) {
    std::string source = "@entry S0\n";
    for (int i = 0; i + 1 < count; ++i)
        source += "struct S" + std::to_string(i) + " { struct S" + std::to_string(i + 1) + " next; };\n";
    return source + "struct S" + std::to_string(count - 1) + " { int n; char tail[]; };\n";
}

// A chain of count typedefs, T0 naming T1 and so on, ending in last.
std::string TypedefChain(int count, const std::string& last) {
    std::string source;
    for (int i = 0; i < count; ++i) source += "typedef T" + std::to_string(i + 1) + " T" + std::to_string(i) + ";\n";
    return source + "typedef " + last + " T" + std::to_string(count) + ";\n";
}

// On a thread of its own: resolution must not depend on the depth of the stack.
TEST(StructLayout, DeepChainsAndLongCyclesResolveWithoutRecursion) {
    std::thread([] {
        const auto file = LoadOk(StructChain(100000));
        EXPECT_EQ(file->structs.front().size, 4u);
        EXPECT_EQ(StructRequestSize(*file), 4u + 256u);
        EXPECT_EQ(LoadOk(TypedefChain(100000, "double") + "struct S { T0 a; T5 b; };")->structs.front().size, 16u);
        EXPECT_EQ(LoadError(TypedefChain(10000, "T0") + "struct S { T7 a; };").substr(0, 29),
                  "Circular typedef definition: ");
        std::string cycle = StructChain(10000);
        cycle.replace(cycle.rfind("int n; char tail[];"), 19, "struct S0 back;");
        EXPECT_EQ(LoadError(cycle), "Direct recursive struct embedding is not allowed.");
    }).join();
}

}  // namespace
}  // namespace tvx::test
