#include "structpattern/PatternParser.h"
#include "structpattern/TypeNames.h"
#include "tests/structpattern/PatternTestSupport.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// One line of source and the error it must give: at column (line 1) with the line as excerpt,
// or bare when column is 0.
struct ErrorCase {
    const char* source;
    unsigned column;
    const char* message;
};

std::string Expected(const ErrorCase& c) {
    return c.column == 0 ? std::string(c.message) : ErrorAt(c.source, 1, c.column, c.message);
}

TEST(PatternParser, EveryMessageWithItsPosition) {
    const ErrorCase kCases[] = {
        {"int x;", 1, "Unsupported top-level declaration."},
        {"@pointer_size 4;", 16, "Unsupported top-level declaration."},
        {"struct A { int x; };;", 21, "Unsupported top-level declaration."},
        {"@ 4", 1, "Expected directive name."},
        {"  @", 3, "Expected directive name."},
        {"@entry struct ;", 15, "Expected struct name after @entry struct."},
        {"@entry struct", 14, "Expected struct name after @entry struct."},
        {"@entry 5", 8, "Expected type name after @entry."},
        {"@foo bar", 6, "Expected numeric directive value."},
        {"@sizeof_int", 12, "Expected numeric directive value."},
        {"@sizeof_int 99999999999999999999", 13, "Invalid directive number."},
        {"@foo 4", 1, "Unknown directive."},
        {"@member_align 2", 1, "Directive value is not allowed."},
        {"@sizeof_double 2", 1, "Directive value is not allowed."},
        {"@sizeof_float 1", 1, "Directive value is not allowed."},
        {"@sizeof_long_long 32", 1, "Directive value is not allowed."},
        {"typedef int T", 14, "Expected ';' after typedef declaration."},
        {"  typedef int T[4];", 3, "Typedef arrays are not supported."},
        {"typedef int T[];", 1, "Typedef arrays are not supported."},
        {"typedef int T[0];", 1, "Typedef arrays are not supported."},
        {"struct A;", 1, "Unsupported struct declaration."},
        {"typedef struct ;", 9, "Unsupported struct declaration."},
        {"struct A B;", 1, "Unsupported struct declaration."},
        {"typedef struct A *P;", 18, "Expected typedef alias name."},
        {"typedef struct A B C;", 20, "Expected ';' after typedef."},
        {"struct A { int x; } B C;", 23, "Expected ';' after struct declaration."},
        {"struct A { int x; }", 20, "Expected ';' after struct declaration."},
        {"struct S {", 0, "Expected '}' to close struct body."},
        {"struct S { int a; ", 0, "Expected '}' to close struct body."},
        {"struct S { struct T { int a; } t; };", 21, "Inline nested struct declarations are not supported."},
        {"struct S { int a }", 19, "Expected ';' after member declaration."},
        {"struct S { ; };", 14, "Empty declaration."},
        {"typedef ;", 1, "Empty declaration."},
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
        {"struct S { char a[0x10]; };", 12, "Unexpected tokens after declaration name."},
        {"struct S { int a *; };", 12, "Unexpected tokens after declaration name."},
        {"struct S { int [4] a; };", 12, "Unsupported declaration syntax."},
        {"struct S { a; };", 12, "Type specifier was not found."},
        {"struct S { * * a; };", 12, "Type specifier was not found."},
        {"struct A { int x; }; struct a { int y; };", 0, "Duplicate struct type name: a"},
        {"struct A { int x; } B; struct B { int y; };", 0, "Duplicate struct type name: B"},
        {"struct { int x; } A; struct { int y; } a;", 0, "Duplicate struct type name: a"},
        {"typedef int T; typedef long t;", 0, "Duplicate typedef name: t"},
        {"typedef struct A T; typedef int T;", 0, "Duplicate typedef name: T"},
    };
    for (const ErrorCase& c : kCases) EXPECT_EQ(LoadError(c.source), Expected(c)) << c.source;
}

TEST(PatternParser, ErrorsAtTheEndOfAFileCarryNoExcerpt) {
    EXPECT_EQ(LoadError("struct S { int a\n"), "Line 2, Col 1: Expected ';' after member declaration.");
    EXPECT_EQ(LoadError("@entry\r\n"), "Line 2, Col 1: Expected type name after @entry.");
}

TEST(PatternParser, OperationsCalledOffTheirKeyword) {
    ParseState state = StateFor("int x;");
    EXPECT_FALSE(ParseDirective(state));
    EXPECT_EQ(Narrow(state.error), "Expected '@' for directive.");
    EXPECT_FALSE(ParseTypedef(state));
    EXPECT_EQ(Narrow(state.error), ErrorAt("int x;", 1, 1, "Expected 'typedef'."));
    EXPECT_FALSE(ParseStructDeclaration(state, true));
    EXPECT_EQ(Narrow(state.error), ErrorAt("int x;", 1, 1, "Expected 'struct'."));
    EXPECT_FALSE(MatchKeyword(state, u"struct"));
    EXPECT_EQ(state.cursor, 0u);
}

ParseState Parse(std::string_view source) {
    ParseState state = StateFor(source);
    while (state.tokens[state.cursor].kind != PatternTokenKind::End) {
        if (!ParseTopLevel(state)) {
            ADD_FAILURE() << Narrow(state.error) << "\nsource: " << source;
            break;
        }
    }
    return state;
}

TEST(PatternParser, DirectivesSetTheirFieldsAndTheLastOneWins) {
    const ParseState state = Parse(
        "@sizeof_short 4 @sizeof_int 2 @sizeof_int 8 @sizeof_long 4 @SIZEOF_LONG_LONG 16 "
        "@sizeof_float 8 @sizeof_double 16 @pointer_size 4 @member_align 0");
    EXPECT_EQ(state.sizeof_short, 4u);
    EXPECT_EQ(state.sizeof_int, 8u);
    EXPECT_EQ(state.sizeof_long, 4u);
    EXPECT_EQ(state.sizeof_long_long, 16u);
    EXPECT_EQ(state.sizeof_float, 8u);
    EXPECT_EQ(state.sizeof_double, 16u);
    EXPECT_EQ(state.pointer_size, 4u);
    EXPECT_EQ(state.member_align, 0u);
    EXPECT_FALSE(state.entryGiven);
}

TEST(PatternParser, EntryKeepsTheNameAsWritten) {
    EXPECT_EQ(Narrow(Parse("@ENTRY Header").entryName), "Header");
    EXPECT_EQ(Narrow(Parse("@entry STRUCT Header").entryName), "struct Header");
    const ParseState state = Parse("@entry A @entry B");
    EXPECT_TRUE(state.entryGiven);
    EXPECT_EQ(Narrow(state.entryName), "B");
}

TEST(PatternParser, MembersRecordTypeCountAndPosition) {
    const ParseState state = Parse("struct S {\n  unsigned   LONG  long v;\n  int * * p;\n  char n[3];\n  char f[];\n  int z[0];\n};");
    ASSERT_EQ(state.structs.size(), 1u);
    const auto& m = state.structs[0].members;
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(Narrow(m[0].type.typeText), "unsigned LONG long");
    EXPECT_EQ(Narrow(m[0].type.normalizedType), "unsigned long long");
    EXPECT_EQ(m[0].line, 2u);
    EXPECT_EQ(m[0].column, 3u);
    EXPECT_EQ(m[1].type.pointerDepth, 2u);
    EXPECT_EQ(Narrow(m[1].name), "p");
    EXPECT_EQ(m[2].count, 3u);
    EXPECT_FALSE(m[2].flexible);
    EXPECT_EQ(m[3].count, 0u);
    EXPECT_TRUE(m[3].flexible);
    EXPECT_EQ(m[4].count, 0u);
    EXPECT_FALSE(m[4].flexible);
}

TEST(PatternParser, TheLastIdentifierIsTheName) {
    const ParseState state = Parse("struct S { int a b; unsigned x; };");
    const auto& m = state.structs[0].members;
    EXPECT_EQ(Narrow(m[0].name), "b");
    EXPECT_EQ(Narrow(m[0].type.typeText), "int a");
    EXPECT_EQ(Narrow(m[1].type.normalizedType), "unsigned");
}

TEST(PatternParser, TypedefsRecordTheirTargets) {
    const ParseState state = Parse("typedef Node *NodePtr; typedef struct P P; typedef unsigned int U[1];");
    EXPECT_EQ(state.typedefs.at(u"nodeptr").pointerDepth, 1u);
    EXPECT_EQ(Narrow(state.typedefs.at(u"p").typeText), "struct P");
    EXPECT_EQ(Narrow(state.typedefs.at(u"p").normalizedType), "struct p");
    EXPECT_EQ(Narrow(state.typedefs.at(u"u").normalizedType), "unsigned int");
    EXPECT_TRUE(state.structs.empty());
}

TEST(PatternParser, StructNamesReachTheStructWithAndWithoutTheKeyword) {
    const ParseState state = Parse("struct A { int x; } B; typedef struct { int y; } S; struct { int z; };");
    ASSERT_EQ(state.structs.size(), 3u);
    for (const char16_t* name : {u"a", u"struct a", u"b", u"struct b"}) EXPECT_EQ(state.structNames.at(name), 0u);
    EXPECT_EQ(state.structNames.at(u"s"), 1u);
    EXPECT_EQ(state.structNames.at(u"struct s"), 1u);
    EXPECT_FALSE(state.typedefs.contains(u"s"));
    EXPECT_EQ(state.structNames.size(), 6u);
}

TEST(PatternParser, AnAliasMayRepeatItsOwnTag) {
    ParseState state = Parse("typedef struct Foo { int a; } Foo; struct A { int x; } a; struct B { int y; } b;");
    ASSERT_EQ(state.structs.size(), 3u);
    EXPECT_EQ(state.structNames.at(u"foo"), 0u);
    EXPECT_EQ(state.structNames.at(u"struct a"), 1u);
    EXPECT_EQ(state.structNames.size(), 6u);
    // Registering a name again for the struct it denotes changes nothing; for another, fails.
    EXPECT_TRUE(RegisterStructName(state, u"FOO", 0));
    EXPECT_EQ(state.structNames.size(), 6u);
    EXPECT_FALSE(RegisterStructName(state, u"FOO", 1));
    EXPECT_EQ(Narrow(state.error), "Duplicate struct type name: FOO");
    EXPECT_TRUE(RegisterStructName(state, u"", 1));
    EXPECT_TRUE(RegisterTypedefName(state, u"", TypeRef{}));
}

TEST(NormalizeTypeName, TrimsFoldsAndLowerCases) {
    EXPECT_EQ(Narrow(NormalizeTypeName(u"  Unsigned \t\u00A0 LONG\r\n")), "unsigned long");
    EXPECT_EQ(Narrow(NormalizeTypeName(u" \t\r\n")), "");
    EXPECT_EQ(Narrow(NormalizeTypeName(u"\u00C9T\u00C9")), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Narrow(NormalizeTypeName(u"\u00A0x")), " x");  // only blank, tab, CR and LF are trimmed
    for (const char16_t* identifier : {u"STRUCT", u"Struct", u"struct", u"structs", u"\u00C9T\u00C9", u"_x9"}) {
        for (const char16_t* normalized : {u"struct", u"\u00E9t\u00E9", u"_x9"})
            EXPECT_EQ(IdentifierEquals(identifier, normalized), NormalizeTypeName(identifier) == normalized);
    }
}

TEST(BuiltinTypeSize, FixedWidthNamesIgnoreTheDirectives) {
    ParseState state;
    state.sizeof_short = 8;
    state.sizeof_int = 1;
    EXPECT_EQ(BuiltinTypeSize(state, u"unsigned short"), 8u);
    EXPECT_EQ(BuiltinTypeSize(state, u"uint16_t"), 2u);
    EXPECT_EQ(BuiltinTypeSize(state, u"signed int"), 1u);
    EXPECT_EQ(BuiltinTypeSize(state, u"int32_t"), 4u);
    EXPECT_EQ(BuiltinTypeSize(state, u"void"), 0u);
    for (const char16_t* name : {u"unsigned", u"short int", u"long int", u"long double", u"bool", u"wchar_t",
                                 u"size_t", u"const int", u"Int"})
        EXPECT_FALSE(BuiltinTypeSize(state, name).has_value()) << Narrow(name);
}

}  // namespace
}  // namespace tvx::test
