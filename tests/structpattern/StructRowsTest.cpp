#include "structpattern/StructRows.h"
#include "tests/structpattern/PatternTestSupport.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

using Rows = std::vector<std::string>;

constexpr const char* kHeader =
    "struct Header { char magic[4]; unsigned short version; unsigned int count; double scale; char name[]; };";

Bytes HeaderBytes() {
    Bytes b = {'T', 'V', 'X', 0, 0x02, 0x01, 0xEE, 0xEE, 0x10, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE,
               0, 0, 0, 0, 0, 0, 0xF8, 0x3F};  // scale 1.5
    for (char c : std::string("Hello\0world", 11)) b.push_back(static_cast<std::uint8_t>(c));
    return b;
}

TEST(BuildStructRows, HeaderAtAnOffset) {
    const auto file = LoadOk(kHeader);
    EXPECT_EQ(RowTexts(file, HeaderBytes(), {}, 0x100),
              Rows({"magic | 0x100 | 54 56 58 00 | 4", "version | 0x104 | 0x0102 | 2",
                    "<padding> | 0x106 | EE EE | 2", "count | 0x108 | 0x00000010 | 4",
                    "<padding> | 0x10C | EE EE EE EE | 4", "scale | 0x110 | 1.5 (0x3FF8000000000000) | 8",
                    "name | 0x118 | 48 65 6C 6C 6F 00 77 6F 72 6C 64 | 1+"}));
    const StructValueFormat ascii{ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec};
    EXPECT_EQ(RowTexts(file, HeaderBytes(), ascii),
              Rows({"magic | 0x0 | \"TVX\" | 4", "version | 0x4 | 513 | 2", "<padding> | 0x6 | EE EE | 2",
                    "count | 0x8 | 268435456 | 4", "<padding> | 0xC | EE EE EE EE | 4",
                    "scale | 0x10 | 3.13984e-319 (0x000000000000F83F) | 8", "name | 0x18 | \"Hello\" | 1+"}));
}

TEST(BuildStructRows, MissingBytesShowTheUnavailableText) {
    const auto file = LoadOk(kHeader);
    StructEvalRequest request;
    request.file = file;
    for (const StructViewRow& row : BuildStructRows(request)) EXPECT_EQ(Narrow(row.value), "-") << Narrow(row.name);
    request.unavailableText = u"n/a";
    request.data = Bytes(20, 0);  // ends inside scale
    const auto rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "count"), "0x00000000");
    EXPECT_EQ(ValueOf(rows, "scale"), "n/a");
    EXPECT_EQ(ValueOf(rows, "name"), "n/a");
    request.data = Bytes(24, 0);
    EXPECT_EQ(ValueOf(BuildStructRows(request), "name"), "0 bytes");
}

TEST(BuildStructRows, NoFileOrNoEntryGivesNoRows) {
    EXPECT_TRUE(BuildStructRows(StructEvalRequest{}).empty());
    StructPatternFile file = *LoadOk(kHeader);
    file.entryName = u"header";  // names compare exactly
    StructEvalRequest request;
    request.file = std::make_shared<const StructPatternFile>(file);
    EXPECT_TRUE(BuildStructRows(request).empty());
}

TEST(BuildStructRows, ScalarsFollowTheFormat) {
    const auto file = LoadOk("struct S { uint16_t u; float f; char name[8]; int8_t big[20]; char *names[2]; };");
    Bytes data = {0x34, 0x12, 0, 0, 0, 0, 0xC0, 0x3F, 'H', 'i', 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 20; ++i) data.push_back(static_cast<std::uint8_t>('a' + i));
    data.resize(data.size() + 4, 0);  // padding before names
    for (char c : std::string("ptr\0ptr\0ptr\0ptr\0", 16)) data.push_back(static_cast<std::uint8_t>(c));
    StructEvalRequest request;
    request.file = file;
    request.data = data;
    auto rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "u"), "0x1234");
    EXPECT_EQ(ValueOf(rows, "f"), "1.5 (0x3FC00000)");
    EXPECT_EQ(ValueOf(rows, "name"), "48 69 00 00 00 00 00 00");
    EXPECT_EQ(ValueOf(rows, "big"), "61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 ...");
    EXPECT_EQ(ValueOf(rows, "names"), "70 74 72 00 70 74 72 00 70 74 72 00 70 74 72 00");
    request.format = {ByteArrayFormat::Ascii, ByteOrder::Little, NumericBase::Dec};
    rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "u"), "4660");
    EXPECT_EQ(ValueOf(rows, "name"), "\"Hi\"");
    EXPECT_EQ(ValueOf(rows, "big"), "\"abcdefghijklmnopqrst\"");
    EXPECT_EQ(ValueOf(rows, "names"), "\"ptr\"");  // the type text decides, pointers or not
}

TEST(BuildStructRows, DirectiveSizesChangeHowValuesRead) {
    const auto file = LoadOk("@sizeof_float 8 @sizeof_long_long 16 struct S { float f; long long q; };");
    Bytes data(24);
    data[0] = 1;
    for (int i = 0; i < 16; ++i) data[8 + i] = static_cast<std::uint8_t>(i);
    StructEvalRequest request;
    request.file = file;
    request.data = data;
    request.format.numericBase = NumericBase::Dec;
    const auto rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "f"), "1");
    EXPECT_EQ(ValueOf(rows, "q"), "0x00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
}

TEST(BuildStructRows, EmbeddedStructsExpandOneLevel) {
    const auto file = LoadOk(
        "@entry Shape\n"
        "struct Point { int x; int y; };\n"
        "struct Box { struct Point min; char tag; };\n"
        "struct Shape { char kind; struct Point p; struct Box box; struct Point corners[2]; };\n");
    Bytes data(48);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(RowTexts(file, data, {}, 0x10),
              Rows({"kind | 0x10 | 0x00 | 1", "<padding> | 0x11 | 01 02 03 | 3", "p : Point | 0x14 |  | 8",
                    "  x | 0x14 | 0x07060504 | 4", "  y | 0x18 | 0x0B0A0908 | 4", "box : Box | 0x1C |  | 12",
                    "  min | 0x1C | 0C 0D 0E 0F 10 11 12 13 | 8", "  tag | 0x24 | 0x14 | 1",
                    "  <padding> | 0x25 | 15 16 17 | 3", "corners | 0x28 | 18 19 1A 1B 1C 1D 1E 1F 20 21 22 23 24 25 26 27 | 16"}));
}

TEST(BuildStructRows, StopsAfter256RowsWithAnEllipsisRow) {
    std::string source = "struct Many {";
    for (int i = 0; i < 300; ++i) source += " int m" + std::to_string(i) + ";";
    const auto rows = RowTexts(LoadOk(source + " };"), {});
    ASSERT_EQ(rows.size(), 257u);
    EXPECT_EQ(rows[255], "m255 | 0x3FC | - | 4");
    EXPECT_EQ(rows[256], "... | ... | ... | ...");
    // Also in the middle of an expansion.
    std::string inner = "struct In {";
    for (int i = 0; i < 10; ++i) inner += " char c" + std::to_string(i) + ";";
    std::string outer = "@entry Out\n" + inner + " };\nstruct Out {";
    for (int i = 0; i < 250; ++i) outer += " char o" + std::to_string(i) + ";";
    const auto cut = RowTexts(LoadOk(outer + " struct In in; };"), {});
    ASSERT_EQ(cut.size(), 257u);
    EXPECT_EQ(cut[250], "in : In | 0xFA |  | 10");
    EXPECT_EQ(cut[255], "  c4 | 0xFE | - | 1");
    // Exactly 256 rows need no ellipsis.
    std::string exact = "struct Many {";
    for (int i = 0; i < 256; ++i) exact += " char m" + std::to_string(i) + ";";
    EXPECT_EQ(RowTexts(LoadOk(exact + " };"), {}).size(), 256u);
}

TEST(StructRequestSize, AddsRoomForAFlexibleArrayAtTheEndWithinTheCap) {
    const auto flexible = LoadOk(kHeader);
    EXPECT_TRUE(EndsWithFlexibleArray(*flexible, flexible->structs[0]));
    EXPECT_EQ(StructRequestSize(*flexible), 24u + 256u);
    const auto nested = LoadOk("@entry Outer struct Tail { int n; char data[]; }; struct Outer { char c; struct Tail t; };");
    EXPECT_TRUE(EndsWithFlexibleArray(*nested, LayoutNamed(*nested, "Outer")));
    EXPECT_EQ(StructRequestSize(*nested), 8u + 256u);
    const auto padded = LoadOk("@entry Outer struct Tail { int n; char data[]; }; struct Outer { struct Tail t; char c; };");
    EXPECT_FALSE(EndsWithFlexibleArray(*padded, LayoutNamed(*padded, "Outer")));  // trailing padding
    EXPECT_EQ(StructRequestSize(*padded), 8u);
    const auto arrayOfStructs = LoadOk("@entry O struct T { int n; char d[]; }; struct O { struct T t[2]; };");
    EXPECT_FALSE(EndsWithFlexibleArray(*arrayOfStructs, LayoutNamed(*arrayOfStructs, "O")));
    const auto empty = LoadOk("struct E { };");
    EXPECT_FALSE(EndsWithFlexibleArray(*empty, empty->structs[0]));
    EXPECT_EQ(StructRequestSize(StructPatternFile{}), 0u);
    const auto huge = LoadOk("@member_align 0 struct H { char a[18446744073709551614]; char tail[]; };");
    EXPECT_EQ(StructRequestSize(*huge), kMaxStructRequestBytes);
}

TEST(BuildStructRows, FlexibleArraysShowTheExtraBytes) {
    const auto file = LoadOk(kHeader);
    Bytes data(24 + 256, 0x5A);
    const auto rows = RowTexts(file, data);
    EXPECT_EQ(rows.back(), "name | 0x18 | 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A ... | 1+");
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

}  // namespace
}  // namespace tvx::test
