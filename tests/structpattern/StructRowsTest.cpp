// Struct pattern rows: value texts against models, the rows of the entry struct, and the shipped
// patterns over the fields of their formats.

#include "platform/Utf8.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "structpattern/ValueText.h"
#include "tests/structpattern/PatternTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tvx::test {
namespace {

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
