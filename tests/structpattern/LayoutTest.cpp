#include "structpattern/StructRows.h"
#include "tests/structpattern/PatternTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace tvx::test {
namespace {

using Fields = std::vector<std::string>;

// "name@offset+size" per field.
Fields FieldsOf(const StructLayout& layout) {
    Fields fields;
    for (const FieldLayout& field : layout.fields)
        fields.push_back(Narrow(field.name) + "@" + std::to_string(field.offset) + "+" + std::to_string(field.size));
    return fields;
}

constexpr const char* kHeader =
    "struct Header { char magic[4]; unsigned short version; unsigned int count; double scale; char name[]; };";

TEST(StructLayout, HeaderUnderTheThreeAlignments) {
    struct Case {
        const char* directive;
        Fields fields;
        std::uint64_t size;
        std::uint64_t alignment;
    };
    const Case kCases[] = {
        {"", {"magic@0+4", "version@4+2", "<padding>@6+2", "count@8+4", "<padding>@12+4", "scale@16+8", "name@24+0"}, 24, 8},
        {"@member_align 4\n", {"magic@0+4", "version@4+2", "<padding>@6+2", "count@8+4", "scale@12+8", "name@20+0"}, 20, 4},
        {"@member_align 0\n", {"magic@0+4", "version@4+2", "count@6+4", "scale@10+8", "name@18+0"}, 18, 1},
    };
    for (const Case& c : kCases) {
        const auto file = LoadOk(std::string(c.directive) + kHeader);
        const StructLayout& layout = LayoutNamed(*file, "Header");
        EXPECT_EQ(FieldsOf(layout), c.fields) << c.directive;
        EXPECT_EQ(layout.size, c.size) << c.directive;
        EXPECT_EQ(layout.alignment, c.alignment) << c.directive;
    }
}

TEST(StructLayout, FieldsCarryTheirTypeDetails) {
    const auto file = LoadOk(kHeader);
    const auto& fields = LayoutNamed(*file, "Header").fields;
    EXPECT_EQ(fields[0].count, 4u);
    EXPECT_EQ(fields[0].elementSize, 1u);
    EXPECT_EQ(fields[0].kind, FieldKind::Integer);
    EXPECT_EQ(Narrow(fields[1].typeText), "unsigned short");
    EXPECT_TRUE(fields[2].padding);
    EXPECT_EQ(fields[2].kind, FieldKind::Bytes);
    EXPECT_EQ(fields[2].count, 2u);
    EXPECT_EQ(fields[2].elementSize, 1u);
    EXPECT_EQ(Narrow(fields[2].typeText), "padding");
    EXPECT_EQ(fields[5].kind, FieldKind::Double);
    EXPECT_TRUE(fields[6].flexible);
    EXPECT_EQ(fields[6].count, 0u);
}

TEST(StructLayout, TrailingPaddingCompletesTheSize) {
    const auto file = LoadOk("struct T { int a; char b; };");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "T")), Fields({"a@0+4", "b@4+1", "<padding>@5+3"}));
    EXPECT_EQ(LayoutNamed(*file, "T").size, 8u);
    const auto packed = LoadOk("@member_align 0 struct T { int a; char b; };");
    EXPECT_EQ(FieldsOf(LayoutNamed(*packed, "T")), Fields({"a@0+4", "b@4+1"}));
}

TEST(StructLayout, DirectivesApplyToTheWholeFile) {
    const auto file = LoadOk(
        "@sizeof_int 2 struct S { int a; long long b; float *p; uint16_t u; } ; "
        "@sizeof_int 8 @pointer_size 4 @sizeof_long_long 16");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "S")), Fields({"a@0+8", "b@8+16", "p@24+4", "u@28+2", "<padding>@30+2"}));
    EXPECT_EQ(LayoutNamed(*file, "S").alignment, 8u);  // a 16-byte long long still aligns to 8
}

TEST(StructLayout, EmbeddedStructsAndAliases) {
    const auto file = LoadOk(
        "@entry Outer\n"
        "struct Outer { char c; struct Inner in; Pt p; struct Pt *next; };\n"
        "struct Inner { short s; double d; };\n"
        "struct Point { int x; int y; } Pt;\n");
    const StructLayout& outer = LayoutNamed(*file, "Outer");
    EXPECT_EQ(FieldsOf(outer), Fields({"c@0+1", "<padding>@1+7", "in@8+16", "p@24+8", "next@32+8"}));
    EXPECT_EQ(Narrow(outer.fields[2].structName), "Inner");
    EXPECT_EQ(outer.fields[2].kind, FieldKind::Bytes);
    EXPECT_EQ(Narrow(outer.fields[3].structName), "Pt");  // displayed by its alias
    EXPECT_EQ(Narrow(outer.fields[4].structName), "");    // a pointer is no embedded struct
    EXPECT_EQ(Narrow(outer.fields[4].typeText), "struct Pt");
    ASSERT_EQ(file->structs.size(), 3u);
    EXPECT_EQ(Narrow(file->structs[2].name), "Pt");
    EXPECT_EQ(FieldsOf(file->structs[1]), Fields({"s@0+2", "<padding>@2+6", "d@8+8"}));
    EXPECT_EQ(FindEmbeddedLayout(*file, outer.fields[3]), &file->structs[2]);
}

TEST(StructLayout, TypedefsResolveToTheirTargets) {
    const auto file = LoadOk(
        "typedef struct Node Node; typedef Node *NodePtr; typedef NodePtr Link; typedef uint8_t byte;\n"
        "typedef char int;\n"  // never hides the built-in
        "struct Node { int v; Node *next; Link alt; byte b[3]; int i; };");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "Node")),
              Fields({"v@0+4", "<padding>@4+4", "next@8+8", "alt@16+8", "b@24+3", "<padding>@27+1", "i@28+4"}));
}

TEST(StructLayout, ATypedefWinsOverAStructOfTheSameName) {
    const auto file = LoadOk("@entry S typedef int P; struct P { char c[3]; }; struct S { P p; };");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "S")), Fields({"p@0+4"}));
}

TEST(StructLayout, AnAliasRepeatingItsTagLaysOutUnderTheAlias) {
    auto file = LoadOk("typedef struct Foo { int a; } Foo;");
    EXPECT_EQ(Narrow(file->entryName), "Foo");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "Foo")), Fields({"a@0+4"}));
    file = LoadOk("struct A { int x; } a; struct B { struct A first; a second; } ; @entry b");
    EXPECT_EQ(Narrow(file->entryName), "B");
    EXPECT_EQ(Narrow(file->structs[0].name), "a");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "B")), Fields({"first@0+4", "second@4+4"}));
}

TEST(StructLayout, FailuresNameTheirCause) {
    const struct {
        const char* source;
        std::string error;
    } kCases[] = {
        {"struct A { struct A a; };", "Direct recursive struct embedding is not allowed."},
        {"struct A { struct B b; }; struct B { struct A a; };", "Direct recursive struct embedding is not allowed."},
        {"struct S { Foo p; };", "Unknown type: Foo"},
        {"struct S { unsigned x; };", "Unknown type: unsigned"},
        {"typedef Missing A; typedef A B; struct S { B x; };", "Unknown type: Missing"},
        {"typedef struct P P; struct S { P x; };", "Unknown type: struct P"},
        {"struct S { char data[]; int n; };",
         ErrorAt("struct S { char data[]; int n; };", 1, 12, "Flexible array member must be the last member.")},
        {"struct S { void v; };", ErrorAt("struct S { void v; };", 1, 12, "Unsupported zero-sized member type: v")},
        {"struct S { int a[0]; };", ErrorAt("struct S { int a[0]; };", 1, 12, "Unsupported zero-sized member type: a")},
        {"struct E { }; struct U { struct E e; }; @entry U",
         ErrorAt("struct E { }; struct U { struct E e; }; @entry U", 1, 26, "Unsupported zero-sized member type: e")},
        {"typedef A B; typedef B A; struct S { A x; };", "Circular typedef definition: A"},
        {"typedef T T; struct S { T x; };", "Circular typedef definition: T"},
        {"typedef C X; typedef A B; typedef B C; typedef C A; struct S { X x; };", "Circular typedef definition: C"},
        // A failure in a struct the entry never uses still fails the load.
        {"@entry Good struct Good { int a; }; struct Bad { Nope n; };", "Unknown type: Nope"},
    };
    for (const auto& c : kCases) EXPECT_EQ(LoadError(c.source), c.error) << c.source;
}

TEST(StructLayout, PointersNeedNoTarget) {
    const auto file = LoadOk("typedef T T; struct S { Foo *p; struct S *self; T *t; int *none[0]; };");
    EXPECT_EQ(FieldsOf(LayoutNamed(*file, "S")), Fields({"p@0+8", "self@8+8", "t@16+8", "none@24+0"}));
    EXPECT_EQ(LayoutNamed(*LoadOk("struct E { };"), "E").size, 0u);
    EXPECT_EQ(LayoutNamed(*LoadOk("struct E { };"), "E").alignment, 1u);
}

TEST(StructLayout, SizesNeverWrapPast64Bits) {
    const std::string tooLarge = "Size or offset of member is too large: ";
    const struct {
        const char* source;
        unsigned column;
        const char* member;
    } kCases[] = {
        {"struct S { int a[9223372036854775807]; };", 12, "a"},                  // count times size
        {"struct S { char a[18446744073709551615]; char b; };", 42, "b"},       // offset plus size
        {"struct S { char a[18446744073709551615]; int b; };", 42, "b"},        // alignment
        {"struct S { int a; char b[18446744073709551611]; };", 19, "b"},        // trailing padding
        {"struct B { char a[18446744073709551615]; }; struct S { struct B x; struct B y; }; @entry S", 68, "y"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(LoadError(c.source), ErrorAt(c.source, 1, c.column, tooLarge + c.member)) << c.source;
    const auto packed = LoadOk("@member_align 0 struct S { char a[18446744073709551614]; char b; };");
    EXPECT_EQ(LayoutNamed(*packed, "S").size, 18446744073709551615u);
}

// A chain of count structs, each embedding the next; the last ends with a flexible array.
std::string StructChain(int count) {
    std::string source = "@entry S0\n";
    for (int i = 0; i < count; ++i) {
        if (i + 1 == count)
            source += "struct S" + std::to_string(i) + " { int n; char tail[]; };\n";
        else
            source += "struct S" + std::to_string(i) + " { struct S" + std::to_string(i + 1) + " next; };\n";
    }
    return source;
}

// Loads on a thread of its own: resolution must not depend on the depth of the stack.
template <typename Check>
void OnThread(const std::string& source, Check check) {
    std::thread thread([&] { check(source); });
    thread.join();
}

// A chain of count typedefs, T0 naming T1 and so on, ending in last.
std::string TypedefChain(int count, const std::string& last) {
    std::string source;
    for (int i = 0; i < count; ++i) source += "typedef T" + std::to_string(i + 1) + " T" + std::to_string(i) + ";\n";
    return source + "typedef " + last + " T" + std::to_string(count) + ";\n";
}

TEST(StructLayout, DeepChainsResolveWithoutRecursion) {
    constexpr int kDepth = 100000;
    OnThread(StructChain(kDepth), [](const std::string& source) {
        const auto file = LoadOk(source);
        ASSERT_EQ(file->structs.size(), static_cast<std::size_t>(kDepth));
        EXPECT_EQ(file->structs.front().size, 4u);
        EXPECT_EQ(StructRequestSize(*file), 4u + 256u);
    });
    OnThread(TypedefChain(kDepth, "double") + "struct S { T0 a; T5 b; };",
             [](const std::string& source) { EXPECT_EQ(LayoutNamed(*LoadOk(source), "S").size, 16u); });
}

TEST(StructLayout, LongCyclesFailCleanly) {
    constexpr int kLength = 10000;
    OnThread(TypedefChain(kLength, "T0") + "struct S { T7 a; };", [](const std::string& source) {
        EXPECT_EQ(LoadError(source).substr(0, 29), "Circular typedef definition: ");
    });
    std::string cycle = StructChain(kLength);
    cycle.replace(cycle.rfind("int n; char tail[];"), 19, "struct S0 back;");
    OnThread(cycle, [](const std::string& source) {
        EXPECT_EQ(LoadError(source), "Direct recursive struct embedding is not allowed.");
    });
}

}  // namespace
}  // namespace tvx::test
