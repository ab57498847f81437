// The struct pattern language from source text to rows: tokens, every load error with its
// position, type names, layouts, files on disk and deep chains; then value texts against models,
// the rows of the entry struct, and the shipped patterns over the fields of their formats.

#include "platform/Utf8.h"
#include "structpattern/CharClass.h"
#include "structpattern/PatternError.h"
#include "structpattern/PatternLexer.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/PatternParser.h"
#include "structpattern/StructRows.h"
#include "structpattern/TypeNames.h"
#include "structpattern/ValueText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tvx::test {
namespace {

// A struct with a field of each kind, ending in a flexible array.
constexpr const char* kHeader =
    "struct Header { char magic[4]; unsigned short version; unsigned int count; double scale; char name[]; };";

std::string Narrow(const std::u16string& text) { return platform::EncodeUtf8(text); }

// Loads the source, adding a test failure (with the error) when it does not load.
std::shared_ptr<const StructPatternFile> LoadOk(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    EXPECT_TRUE(LoadStructPatternBytes(source, file, error)) << Narrow(error) << "\nsource: " << source;
    return std::make_shared<const StructPatternFile>(std::move(file));
}

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

using Rows = std::vector<std::string>;

// Rows of the entry struct over data at baseOffset as "name | offset | value | size".
Rows RowTexts(const std::shared_ptr<const StructPatternFile>& file, const Bytes& data, StructValueFormat format = {},
              std::uint64_t baseOffset = 0) {
    StructEvalRequest request{baseOffset, data, file, {}, format};
    Rows texts;
    for (const StructViewRow& row : BuildStructRows(request))
        texts.push_back(Narrow(row.name) + " | " + Narrow(row.offset) + " | " + Narrow(row.value) + " | " +
                        Narrow(row.size));
    return texts;
}

// The value text of the first row named name (exact), or "<no row>".
std::string ValueOf(const std::vector<StructViewRow>& rows, std::string_view name) {
    for (const StructViewRow& row : rows) {
        if (Narrow(row.name) == name) return Narrow(row.value);
    }
    return "<no row>";
}

std::string Float(const Bytes& bytes, FieldKind kind, ByteOrder order, NumericBase base = NumericBase::Hex) {
    return Narrow(FormatFloatValue(bytes.data(), bytes.size(), kind, {ByteArrayFormat::Hex, order, base}));
}

// Over random bytes: integers of one to eight bytes in both orders and bases against a plain
// model, doubles and floats in both orders against printf.
TEST(ValueTexts, IntegersAndFloatsAgreeWithModelsOverRandomBytes) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 5000; ++round) {
        const std::uint64_t bits = random();
        Bytes b(8);
        for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
        const std::size_t n = 1 + random() % 8;
        unsigned long long little = 0, big = 0;
        for (std::size_t i = 0; i < n; ++i) {
            little |= static_cast<unsigned long long>(b[i]) << (8 * i);
            big = (big << 8) | b[i];
        }
        for (const auto& [order, value] : {std::pair{ByteOrder::Little, little}, std::pair{ByteOrder::Big, big}}) {
            char hex[40];
            std::snprintf(hex, sizeof hex, "0x%0*llX", static_cast<int>(2 * n), value);
            EXPECT_EQ(Narrow(FormatIntegerValue(b.data(), n, order, NumericBase::Hex)), hex);
            EXPECT_EQ(Narrow(FormatIntegerValue(b.data(), n, order, NumericBase::Dec)), std::to_string(value));
        }
        const auto low = static_cast<std::uint32_t>(bits);
        double value;
        float single;
        std::memcpy(&value, &bits, 8);
        std::memcpy(&single, &low, 4);
        const Bytes b4(b.begin(), b.begin() + 4);
        char text[64];
        if (value == value) {  // NaN texts differ between C libraries
            std::snprintf(text, sizeof text, "%g (0x%016llX)", value, static_cast<unsigned long long>(bits));
            EXPECT_EQ(Float(b, FieldKind::Double, ByteOrder::Little), text);
            EXPECT_EQ(Float(Bytes(b.rbegin(), b.rend()), FieldKind::Double, ByteOrder::Big), text);
        }
        if (single == single) {
            std::snprintf(text, sizeof text, "%g (0x%08X)", static_cast<double>(single), static_cast<unsigned>(low));
            EXPECT_EQ(Float(b4, FieldKind::Float, ByteOrder::Little), text);
            EXPECT_EQ(Float(Bytes(b4.rbegin(), b4.rend()), FieldKind::Float, ByteOrder::Big), text);
        }
    }
    EXPECT_EQ(Narrow(FormatIntegerValue(nullptr, 0, ByteOrder::Little, NumericBase::Hex)), "");
    // Wider than eight bytes: raw hex in memory order whatever the format.
    Bytes wide(16);
    for (int i = 0; i < 16; ++i) wide[i] = static_cast<std::uint8_t>(i + 1);
    for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big})
        EXPECT_EQ(Narrow(FormatIntegerValue(wide.data(), 16, order, NumericBase::Dec)),
                  "0x01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10");
    // A double resized by the directives shows as an integer.
    EXPECT_EQ(Float({0, 0, 0x80, 0x3F}, FieldKind::Double, ByteOrder::Little), "0x3F800000");
}

TEST(FormatByteTexts, HexArraysCharactersAndOffsets) {
    const Bytes ab = {0x41, 0x42, 0x0A, 0x41, 0x80}, many(70, 'x');
    const auto text = [](std::u16string (*format)(const std::uint8_t*, std::size_t), const std::uint8_t* bytes,
                         std::size_t n) { return Narrow(format(bytes, n)); };
    EXPECT_EQ(text(FormatHexBytes, ab.data(), 0), "");
    EXPECT_EQ(text(FormatByteArray, many.data(), 17), "78 78 78 78 78 78 78 78 78 78 78 78 78 78 78 78 ...");
    EXPECT_EQ(text(FormatCharArray, ab.data(), 0), "0 bytes");
    EXPECT_EQ(text(FormatCharArray, ab.data(), 3), "\"AB...\"");      // a line feed
    EXPECT_EQ(text(FormatCharArray, ab.data() + 3, 2), "\"A...\"");  // a byte above 0x7E
    EXPECT_EQ(text(FormatCharArray, many.data(), 64), "\"" + std::string(64, 'x') + "\"");
    EXPECT_EQ(text(FormatCharArray, many.data(), 65), "\"" + std::string(64, 'x') + "...\"");
    EXPECT_EQ(Narrow(FormatOffsetText(0xFFFFFFFFFFFFFFFF, 0)), "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(Narrow(FormatOffsetText(0xFFFFFFFFFFFFFFFF, 2)), "0x10000000000000001");
}

// The header whole at a base offset; cut inside scale, that and the flexible array are
// unavailable, and cut after scale the array is empty.
TEST(BuildStructRows, HeaderWholeOrCutShort) {
    Bytes data = {'T', 'V', 'X', 0, 0x02, 0x01, 0xEE, 0xEE, 0x10, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE,
                  0, 0, 0, 0, 0, 0, 0xF8, 0x3F};  // scale 1.5
    for (char c : std::string("Hello\0world", 11)) data.push_back(static_cast<std::uint8_t>(c));
    const auto file = LoadOk(kHeader);
    EXPECT_EQ(RowTexts(file, data, {}, 0x100),
              Rows({"magic | 0x100 | 54 56 58 00 | 4", "version | 0x104 | 0x0102 | 2",
                    "<padding> | 0x106 | EE EE | 2", "count | 0x108 | 0x00000010 | 4",
                    "<padding> | 0x10C | EE EE EE EE | 4", "scale | 0x110 | 1.5 (0x3FF8000000000000) | 8",
                    "name | 0x118 | 48 65 6C 6C 6F 00 77 6F 72 6C 64 | 1+"}));
    const auto cut = [&](std::ptrdiff_t size) {
        return BuildStructRows({0, Bytes(data.begin(), data.begin() + size), file, u"n/a", {}});
    };
    const auto inScale = cut(20);
    EXPECT_EQ(ValueOf(inScale, "count") + " " + ValueOf(inScale, "scale") + " " + ValueOf(inScale, "name"),
              "0x00000010 n/a n/a");
    EXPECT_EQ(ValueOf(cut(24), "name"), "0 bytes");
    // No file, or no struct of the entry's name (names compare exactly): no rows.
    EXPECT_TRUE(BuildStructRows(StructEvalRequest{}).empty());
    StructPatternFile renamed = *file;
    renamed.entryName = u"header";
    EXPECT_TRUE(RowTexts(std::make_shared<const StructPatternFile>(renamed), data).empty());
}

TEST(BuildStructRows, ScalarsFollowTheFormatAndTheDirectiveSizes) {
    const auto file = LoadOk(
        "@sizeof_float 8 @sizeof_long_long 16 "
        "struct S { uint16_t u; float f; char name[8]; int8_t big[20]; char *names[2]; long long q; };");
    Bytes data = {0x34, 0x12, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 'H', 'i', 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 20; ++i) data.push_back(static_cast<std::uint8_t>('a' + i));
    data.resize(data.size() + 4, 0);  // padding before names
    for (char c : std::string("ptr\0ptr\0ptr\0ptr\0", 16)) data.push_back(static_cast<std::uint8_t>(c));
    for (int i = 0; i < 16; ++i) data.push_back(static_cast<std::uint8_t>(i));
    const auto values = [&](StructValueFormat format) {
        std::string text;
        for (const StructViewRow& row : BuildStructRows({0, data, file, {}, format}))
            text += Narrow(row.name) + "=" + Narrow(row.value) + "\n";
        return text;
    };
    // An 8-byte float reads as an integer; the type text decides whether bytes are characters.
    const std::string pad = "<padding>=00 00 00 00 00 00\nf=";
    EXPECT_EQ(values({}), "u=0x1234\n" + pad + "0x0000000000000001\nname=48 69 00 00 00 00 00 00\n"
                          "big=61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 ...\n<padding>=00 00 00 00\n"
                          "names=70 74 72 00 70 74 72 00 70 74 72 00 70 74 72 00\n"
                          "q=0x00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n");
    EXPECT_EQ(values({ByteArrayFormat::Ascii, ByteOrder::Little, NumericBase::Dec}),
              "u=4660\n" + pad + "1\nname=\"Hi\"\nbig=\"abcdefghijklmnopqrst\"\n<padding>=00 00 00 00\n"
              "names=\"ptr\"\nq=0x00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n");
}

TEST(BuildStructRows, EmbeddedStructsExpandOneLevel) {
    const auto file = LoadOk(
        "@entry Shape\n"
        "struct Point { int x; int y; } Pt;\n"
        "struct Box { struct Point min; char tag; };\n"
        "struct Shape { char kind; Pt p; struct Box box; struct Point corners[2]; struct Point *next; };\n");
    Bytes data(56);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(RowTexts(file, data, {}, 0x10),
              Rows({"kind | 0x10 | 0x00 | 1", "<padding> | 0x11 | 01 02 03 | 3", "p : Pt | 0x14 |  | 8",
                    "  x | 0x14 | 0x07060504 | 4", "  y | 0x18 | 0x0B0A0908 | 4", "box : Box | 0x1C |  | 12",
                    "  min | 0x1C | 0C 0D 0E 0F 10 11 12 13 | 8", "  tag | 0x24 | 0x14 | 1",
                    "  <padding> | 0x25 | 15 16 17 | 3",
                    "corners | 0x28 | 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 | 16",
                    "next | 0x38 | 0x2F2E2D2C2B2A2928 | 8"}));
}

TEST(BuildStructRows, StopsAfter256RowsWithAnEllipsisRow) {
    const auto members = [](const char* type, const char* name, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::string(" ") + type + " " + name + std::to_string(i) + ";";
        return text;
    };
    // In the middle of an expansion too; exactly 256 rows need no ellipsis.
    const auto cut = RowTexts(LoadOk("@entry Out struct In {" + members("char", "c", 10) + " }; struct Out {" +
                                     members("char", "o", 250) + " struct In in; };"),
                              {});
    ASSERT_EQ(cut.size(), 257u);
    EXPECT_EQ(cut[250], "in : In | 0xFA |  | 10");
    EXPECT_EQ(cut[255], "  c4 | 0xFE | - | 1");
    EXPECT_EQ(cut[256], "... | ... | ... | ...");
    EXPECT_EQ(RowTexts(LoadOk("struct Many {" + members("char", "m", 256) + " };"), {}).size(), 256u);
}

TEST(FormatFieldValue, OffsetsNearTheTopNeverWrap) {
    FieldLayout field;
    field.offset = 0xFFFFFFFFFFFFFFFE;
    field.size = 4;
    field.elementSize = 4;
    StructEvalRequest request;
    request.data = Bytes(8, 1);
    EXPECT_EQ(Narrow(FormatFieldValue(field, request, u"-")), "-");
    field.offset = 4;
    field.size = 0xFFFFFFFFFFFFFFFE;
    field.count = 2;
    EXPECT_EQ(Narrow(FormatFieldValue(field, request, u"-")), "-");
    field.flexible = true;
    field.size = 0;
    EXPECT_EQ(Narrow(FormatFieldValue(field, request, u"-")), "01 01 01 01");
    field.offset = 9;
    EXPECT_EQ(Narrow(FormatFieldValue(field, request, u"-")), "-");
}

// A field a shipped pattern must show: an integer of width bytes, or characters.
struct ShownField {
    const char* name;  // indented within an embedded struct
    std::uint64_t offset;
    int width;  // 0 for characters
    std::uint64_t value;
    std::string_view text = {};
};

// Each field is written into zero bytes as long as the pattern's request, in the case's byte
// order, and must show as a row of its name, offset, value and (for integers) size.
TEST(ShippedPatterns, ShowTheFieldsOfTheirFormats) {
    const struct {
        const char* pattern;
        std::uint64_t requestSize;
        ByteOrder order;
        std::vector<ShownField> fields;
    } kCases[] = {
        {"bmp.tvsd", 54, ByteOrder::Little,
         {{"  bfType", 0, 2, 0x4D42}, {"  bfOffBits", 10, 4, 54}, {"  biSize", 14, 4, 40}, {"  biWidth", 18, 4, 3},
          {"  biBitCount", 28, 2, 24}, {"  biClrImportant", 50, 4, 7}}},
        {"dos-header.tvsd", 64, ByteOrder::Little,
         {{"e_magic", 0, 2, 0x5A4D}, {"e_cparhdr", 8, 2, 4}, {"e_lfarlc", 24, 2, 0x40}, {"e_lfanew", 60, 4, 0x80}}},
        {"elf64.tvsd", 64, ByteOrder::Little,
         {{"  fileClass", 4, 1, 2}, {"e_machine", 18, 2, 0x3E}, {"e_entry", 24, 8, 0x400078},
          {"e_shoff", 40, 8, 0x1234}, {"e_phnum", 56, 2, 1}, {"e_shstrndx", 62, 2, 5}}},
        {"gif.tvsd", 13, ByteOrder::Little,
         {{"signature", 0, 0, 0, "GIF"}, {"version", 3, 0, 0, "89a"}, {"logicalScreenWidth", 6, 2, 32},
          {"logicalScreenHeight", 8, 2, 20}, {"packedFields", 10, 1, 0x80}, {"pixelAspectRatio", 12, 1, 49}}},
        {"pe64-nt-headers.tvsd", 264, ByteOrder::Little,
         {{"Signature", 0, 4, 0x4550}, {"  Machine", 4, 2, 0x8664}, {"  SizeOfOptionalHeader", 20, 2, 240},
          {"  ImageBase", 48, 8, 0x140000000}, {"  Subsystem", 92, 2, 3}, {"  NumberOfRvaAndSizes", 132, 4, 16}}},
        {"png.tvsd", 33, ByteOrder::Big,
         {{"  length", 8, 4, 13}, {"  type", 12, 0, 0, "IHDR"}, {"  width", 16, 4, 64},
          {"  interlaceMethod", 28, 1, 1}, {"  crc", 29, 4, 0xDEADBEEF}}},
        {"wav.tvsd", 44, ByteOrder::Little,
         {{"  chunkId", 0, 0, 0, "RIFF"}, {"  formType", 8, 0, 0, "WAVE"}, {"  chunkId", 12, 0, 0, "fmt "},
          {"  samplesPerSec", 24, 4, 44100}, {"  chunkId", 36, 0, 0, "data"}, {"  chunkSize", 40, 4, 40}}},
        {"zip-local-header.tvsd", 30 + 256, ByteOrder::Little,
         {{"signature", 0, 4, 0x04034B50}, {"lastModDate", 12, 2, (2024 - 1980) << 9 | 5 << 5 | 17},
          {"extraFieldLength", 28, 2, 4}, {"fileName", 30, 0, 0, "docs/readme.txt"}}},
    };
    for (const auto& c : kCases) {
        auto file = std::make_shared<StructPatternFile>();
        std::u16string error;
        ASSERT_TRUE(LoadStructPatternFile(u"patterns/" + platform::DecodeUtf8(c.pattern), *file, error))
            << Narrow(error);
        EXPECT_EQ(StructRequestSize(*file), c.requestSize) << c.pattern;
        Bytes data(c.requestSize);
        for (const ShownField& field : c.fields) {
            for (int i = 0; i < field.width; ++i)
                data[field.offset + (c.order == ByteOrder::Big ? field.width - 1 - i : i)] =
                    static_cast<std::uint8_t>(field.value >> (8 * i));
            std::copy(field.text.begin(), field.text.end(), data.begin() + field.offset);
        }
        const Rows rows = RowTexts(file, data, {ByteArrayFormat::Ascii, c.order, NumericBase::Dec});
        for (const ShownField& field : c.fields) {
            char offset[24];
            std::snprintf(offset, sizeof offset, "0x%llX", static_cast<unsigned long long>(field.offset));
            const std::string value =
                field.width ? std::to_string(field.value) + " | " + std::to_string(field.width)
                            : "\"" + std::string(field.text) + "\" | ";
            const std::string row = std::string(field.name) + " | " + offset + " | " + value;
            EXPECT_TRUE(std::ranges::any_of(rows, [&](const std::string& r) { return r.starts_with(row); }))
                << c.pattern << ": " << row;
        }
    }
}

}  // namespace
}  // namespace tvx::test
