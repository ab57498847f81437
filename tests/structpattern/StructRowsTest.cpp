// Values and rows of a laid-out struct over bytes.

#include "structpattern/ValueText.h"
#include "tests/structpattern/PatternTestSupport.h"

#include <cstdio>
#include <cstring>
#include <random>

namespace tvx::test {
namespace {

using Rows = std::vector<std::string>;

TEST(FormatIntegerValue, AgreesWithAPlainModel) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 2000; ++round) {
        const std::size_t n = 1 + random() % 8;
        Bytes b(n);
        for (auto& byte : b) byte = static_cast<std::uint8_t>(random());
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
    }
    EXPECT_EQ(Narrow(FormatIntegerValue(nullptr, 0, ByteOrder::Little, NumericBase::Hex)), "");
    // Wider than eight bytes: raw hex in memory order whatever the format.
    Bytes wide(16);
    for (int i = 0; i < 16; ++i) wide[i] = static_cast<std::uint8_t>(i + 1);
    for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big})
        EXPECT_EQ(Narrow(FormatIntegerValue(wide.data(), 16, order, NumericBase::Dec)),
                  "0x01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10");
}

std::string Float(const Bytes& bytes, FieldKind kind, ByteOrder order, NumericBase base = NumericBase::Hex) {
    return Narrow(FormatFloatValue(bytes.data(), bytes.size(), kind, {ByteArrayFormat::Hex, order, base}));
}

TEST(FormatFloatValue, AgreesWithPrintfForRandomBits) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 5000; ++round) {
        const std::uint64_t bits = random();
        const auto low = static_cast<std::uint32_t>(bits);
        double value;
        float single;
        std::memcpy(&value, &bits, 8);
        std::memcpy(&single, &low, 4);
        Bytes b(8);
        for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
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
    EXPECT_EQ(Float({0, 0, 0x80, 0xFF}, FieldKind::Float, ByteOrder::Little), "-inf (0xFF800000)");
    // Sizes changed by the directives are shown as integers.
    EXPECT_EQ(Float({1, 0, 0, 0, 0, 0, 0, 0}, FieldKind::Float, ByteOrder::Little, NumericBase::Dec), "1");
    EXPECT_EQ(Float({1, 0}, FieldKind::Float, ByteOrder::Little), "0x0001");
    EXPECT_EQ(Float({0, 0, 0x80, 0x3F}, FieldKind::Double, ByteOrder::Little), "0x3F800000");
}

TEST(FormatByteTexts, HexArraysCharactersAndOffsets) {
    const Bytes hi = {0x48, 0x69, 0, 0, 0, 0, 0, 0};
    const Bytes ab = {0x41, 0x42, 0x43, 0, 0x41, 0x42, 0x0A, 0x41, 0x80};
    const Bytes many(70, 'x');
    const struct {
        std::u16string (*format)(const std::uint8_t*, std::size_t);
        const std::uint8_t* bytes;
        std::size_t n;
        std::string text;
    } kCases[] = {
        {FormatHexBytes, hi.data(), 0, ""},
        {FormatByteArray, hi.data(), 0, "0 bytes"},
        {FormatByteArray, many.data(), 16, "78 78 78 78 78 78 78 78 78 78 78 78 78 78 78 78"},
        {FormatByteArray, many.data(), 17, "78 78 78 78 78 78 78 78 78 78 78 78 78 78 78 78 ..."},
        {FormatCharArray, hi.data(), 8, "\"Hi\""},
        {FormatCharArray, hi.data(), 0, "0 bytes"},
        {FormatCharArray, hi.data() + 2, 1, "\"\""},
        {FormatCharArray, ab.data(), 3, "\"ABC\""},
        {FormatCharArray, ab.data() + 4, 3, "\"AB...\""},  // a line feed
        {FormatCharArray, ab.data() + 7, 2, "\"A...\""},   // a byte above 0x7E
        {FormatCharArray, many.data(), 64, "\"" + std::string(64, 'x') + "\""},
        {FormatCharArray, many.data(), 65, "\"" + std::string(64, 'x') + "...\""},
    };
    for (const auto& c : kCases) EXPECT_EQ(Narrow(c.format(c.bytes, c.n)), c.text) << c.text;
    EXPECT_EQ(Narrow(FormatOffsetText(0, 0)), "0x0");
    EXPECT_EQ(Narrow(FormatOffsetText(0x100, 0xA0)), "0x1A0");
    EXPECT_EQ(Narrow(FormatOffsetText(0xFFFFFFFFFFFFFFFF, 0)), "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(Narrow(FormatOffsetText(0xFFFFFFFFFFFFFFFF, 2)), "0x10000000000000001");
}

constexpr const char* kHeader =
    "struct Header { char magic[4]; unsigned short version; unsigned int count; double scale; char name[]; };";

TEST(BuildStructRows, HeaderInBothFormats) {
    Bytes data = {'T', 'V', 'X', 0, 0x02, 0x01, 0xEE, 0xEE, 0x10, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE,
                  0, 0, 0, 0, 0, 0, 0xF8, 0x3F};  // scale 1.5
    for (char c : std::string("Hello\0world", 11)) data.push_back(static_cast<std::uint8_t>(c));
    const auto file = LoadOk(kHeader);
    EXPECT_EQ(RowTexts(file, data, {}, 0x100),
              Rows({"magic | 0x100 | 54 56 58 00 | 4", "version | 0x104 | 0x0102 | 2",
                    "<padding> | 0x106 | EE EE | 2", "count | 0x108 | 0x00000010 | 4",
                    "<padding> | 0x10C | EE EE EE EE | 4", "scale | 0x110 | 1.5 (0x3FF8000000000000) | 8",
                    "name | 0x118 | 48 65 6C 6C 6F 00 77 6F 72 6C 64 | 1+"}));
    EXPECT_EQ(RowTexts(file, data, {ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec}),
              Rows({"magic | 0x0 | \"TVX\" | 4", "version | 0x4 | 513 | 2", "<padding> | 0x6 | EE EE | 2",
                    "count | 0x8 | 268435456 | 4", "<padding> | 0xC | EE EE EE EE | 4",
                    "scale | 0x10 | 3.13984e-319 (0x000000000000F83F) | 8", "name | 0x18 | \"Hello\" | 1+"}));
    // A flexible array shows the extra bytes a request carries.
    EXPECT_EQ(RowTexts(file, Bytes(24 + 256, 0x5A)).back(),
              "name | 0x18 | 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A 5A ... | 1+");
}

TEST(BuildStructRows, MissingBytesNoFileOrNoEntry) {
    StructEvalRequest request;
    request.file = LoadOk(kHeader);
    for (const StructViewRow& row : BuildStructRows(request)) EXPECT_EQ(Narrow(row.value), "-") << Narrow(row.name);
    request.unavailableText = u"n/a";
    request.data = Bytes(20, 0);  // ends inside scale
    auto rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "count"), "0x00000000");
    EXPECT_EQ(ValueOf(rows, "scale"), "n/a");
    EXPECT_EQ(ValueOf(rows, "name"), "n/a");
    request.data = Bytes(24, 0);
    EXPECT_EQ(ValueOf(BuildStructRows(request), "name"), "0 bytes");

    EXPECT_TRUE(BuildStructRows(StructEvalRequest{}).empty());
    StructPatternFile renamed = *request.file;
    renamed.entryName = u"header";  // names compare exactly
    request.file = std::make_shared<const StructPatternFile>(renamed);
    EXPECT_TRUE(BuildStructRows(request).empty());
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
    StructEvalRequest request{0, data, file, {}, {}};
    auto rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "u"), "0x1234");
    EXPECT_EQ(ValueOf(rows, "f"), "0x0000000000000001");  // an 8-byte float reads as an integer
    EXPECT_EQ(ValueOf(rows, "name"), "48 69 00 00 00 00 00 00");
    EXPECT_EQ(ValueOf(rows, "big"), "61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 ...");
    EXPECT_EQ(ValueOf(rows, "names"), "70 74 72 00 70 74 72 00 70 74 72 00 70 74 72 00");
    EXPECT_EQ(ValueOf(rows, "q"), "0x00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
    request.format = {ByteArrayFormat::Ascii, ByteOrder::Little, NumericBase::Dec};
    rows = BuildStructRows(request);
    EXPECT_EQ(ValueOf(rows, "u"), "4660");
    EXPECT_EQ(ValueOf(rows, "f"), "1");
    EXPECT_EQ(ValueOf(rows, "name"), "\"Hi\"");
    EXPECT_EQ(ValueOf(rows, "big"), "\"abcdefghijklmnopqrst\"");
    EXPECT_EQ(ValueOf(rows, "names"), "\"ptr\"");  // the type text decides, pointers or not
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
    const auto rows = RowTexts(LoadOk("struct Many {" + members("int", "m", 300) + " };"), {});
    ASSERT_EQ(rows.size(), 257u);
    EXPECT_EQ(rows[255], "m255 | 0x3FC | - | 4");
    EXPECT_EQ(rows[256], "... | ... | ... | ...");
    // Also in the middle of an expansion.
    const auto cut = RowTexts(LoadOk("@entry Out struct In {" + members("char", "c", 10) + " }; struct Out {" +
                                     members("char", "o", 250) + " struct In in; };"),
                              {});
    ASSERT_EQ(cut.size(), 257u);
    EXPECT_EQ(cut[250], "in : In | 0xFA |  | 10");
    EXPECT_EQ(cut[255], "  c4 | 0xFE | - | 1");
    // Exactly 256 rows need no ellipsis.
    EXPECT_EQ(RowTexts(LoadOk("struct Many {" + members("char", "m", 256) + " };"), {}).size(), 256u);
}

TEST(StructRequestSize, AddsRoomForAFlexibleArrayAtTheEndWithinTheCap) {
    const struct {
        std::string source;
        const char* name;
        bool endsFlexible;
        std::uint64_t requestSize;
    } kCases[] = {
        {kHeader, "Header", true, 24 + 256},
        {"@entry Outer struct Tail { int n; char data[]; }; struct Outer { char c; struct Tail t; };", "Outer", true,
         8 + 256},
        // Trailing padding, an array of structs, no member.
        {"@entry Outer struct Tail { int n; char data[]; }; struct Outer { struct Tail t; char c; };", "Outer", false,
         8},
        {"@entry O struct T { int n; char d[]; }; struct O { struct T t[2]; };", "O", false, 8},
        {"struct E { };", "E", false, 0},
        {"@member_align 0 struct H { char a[18446744073709551614]; char tail[]; };", "H", true,
         kMaxStructRequestBytes},
    };
    for (const auto& c : kCases) {
        const auto file = LoadOk(c.source);
        EXPECT_EQ(EndsWithFlexibleArray(*file, LayoutNamed(*file, c.name)), c.endsFlexible) << c.source;
        EXPECT_EQ(StructRequestSize(*file), c.requestSize) << c.source;
    }
    EXPECT_EQ(StructRequestSize(StructPatternFile{}), 0u);
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
