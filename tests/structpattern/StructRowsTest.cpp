// Struct rows over bytes: integer, float and byte texts against models, the rows of the entry
// struct, and the shipped patterns over files of their formats.

#include "structpattern/StructRows.h"
#include "structpattern/ValueText.h"
#include "tests/structpattern/PatternTestSupport.h"
#include "tests/structpattern/SampleFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
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

TEST(BuildStructRows, HeaderAtABaseOffset) {
    Bytes data = {'T', 'V', 'X', 0, 0x02, 0x01, 0xEE, 0xEE, 0x10, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE,
                  0, 0, 0, 0, 0, 0, 0xF8, 0x3F};  // scale 1.5
    for (char c : std::string("Hello\0world", 11)) data.push_back(static_cast<std::uint8_t>(c));
    const auto file = LoadOk(kHeader);
    EXPECT_EQ(RowTexts(file, data, {}, 0x100),
              Rows({"magic | 0x100 | 54 56 58 00 | 4", "version | 0x104 | 0x0102 | 2",
                    "<padding> | 0x106 | EE EE | 2", "count | 0x108 | 0x00000010 | 4",
                    "<padding> | 0x10C | EE EE EE EE | 4", "scale | 0x110 | 1.5 (0x3FF8000000000000) | 8",
                    "name | 0x118 | 48 65 6C 6C 6F 00 77 6F 72 6C 64 | 1+"}));
}

TEST(BuildStructRows, MissingBytesNoFileOrNoEntry) {
    StructEvalRequest request;
    request.file = LoadOk(kHeader);
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

// The rows of the shipped pattern over the file's bytes from offset, as many as a request carries.
std::vector<StructViewRow> Evaluate(const char* pattern, std::uint64_t requestSize, const Bytes& bytes,
                                    std::uint64_t offset, StructValueFormat format) {
    auto file = std::make_shared<StructPatternFile>();
    std::u16string error;
    EXPECT_TRUE(LoadStructPatternFile(u"patterns/" + platform::DecodeUtf8(pattern), *file, error)) << Narrow(error);
    EXPECT_EQ(StructRequestSize(*file), requestSize) << pattern;
    const std::size_t start = std::min<std::size_t>(offset, bytes.size());
    const std::size_t count = std::min<std::size_t>(requestSize, bytes.size() - start);
    StructEvalRequest request{offset, Bytes(bytes.begin() + start, bytes.begin() + start + count), file, {}, format};
    return BuildStructRows(request);
}

TEST(ShippedPatterns, LayOutFilesOfTheirFormats) {
    constexpr StructValueFormat kHex{};
    constexpr StructValueFormat kDecimal{ByteArrayFormat::Hex, ByteOrder::Little, NumericBase::Dec};
    constexpr StructValueFormat kText{ByteArrayFormat::Ascii, ByteOrder::Little, NumericBase::Dec};
    constexpr StructValueFormat kBigText{ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec};
    const Bytes bmp = MakeBmp(3, 2, 24), png = MakePng(64, 48), elf = MakeElf64(), pe = MakePe64();
    const Bytes zip = MakeZip("docs/readme.txt", "Hello, pattern!\n"), wav = MakeWav(2, 44100, 10);
    const Bytes gif = MakeGif(32, 20), shortBmp(bmp.begin(), bmp.begin() + 20);
    const std::uint64_t lfanew = pe[0x3C] | pe[0x3D] << 8 | pe[0x3E] << 16 | pe[0x3F] << 24;
    char pngCrc[16];  // of IHDR, read big-endian from the file
    std::snprintf(pngCrc, sizeof pngCrc, "0x%02X%02X%02X%02X", png[29], png[30], png[31], png[32]);
    const struct {
        const char* pattern;
        std::uint64_t requestSize;
        const Bytes& bytes;
        std::uint64_t offset;
        StructValueFormat format;
        std::vector<std::pair<const char*, std::string>> values;  // row name (exact), value
    } kCases[] = {
        {"bmp.tvsd", 54, bmp, 0, kDecimal,
         {{"  bfType", "19778"}, {"  bfSize", std::to_string(bmp.size())}, {"  bfOffBits", "54"},
          {"info : BITMAPINFOHEADER", ""}, {"  biSize", "40"}, {"  biWidth", "3"}, {"  biHeight", "2"},
          {"  biBitCount", "24"}, {"  biSizeImage", "24"}}},  // two rows of 9 bytes padded to 12
        {"bmp.tvsd", 54, shortBmp, 0, kDecimal, {{"  biSize", "40"}, {"  biWidth", "-"}}},
        {"png.tvsd", 33, png, 0, kBigText,
         {{"signature", "\"...\""}, {"  length", "13"}, {"  type", "\"IHDR\""}, {"  width", "64"},
          {"  height", "48"}, {"  bitDepth", "8"}}},
        {"png.tvsd", 33, png, 0, {ByteArrayFormat::Hex, ByteOrder::Big, NumericBase::Hex},
         {{"signature", "89 50 4E 47 0D 0A 1A 0A"}, {"  crc", pngCrc}}},
        {"elf64.tvsd", 64, elf, 0, kHex,
         {{"  magic", "7F 45 4C 46"}, {"  fileClass", "0x02"}, {"e_type", "0x0002"}, {"e_machine", "0x003E"},
          {"e_entry", "0x0000000000400078"}, {"e_phoff", "0x0000000000000040"}, {"e_ehsize", "0x0040"},
          {"e_phentsize", "0x0038"}, {"e_phnum", "0x0001"}}},
        {"dos-header.tvsd", 64, pe, 0, kHex, {{"e_magic", "0x5A4D"}, {"e_lfanew", "0x00000080"}}},
        {"pe64-nt-headers.tvsd", 264, pe, lfanew, kHex,
         {{"Signature", "0x00004550"}, {"  Machine", "0x8664"}, {"  NumberOfSections", "0x0001"},
          {"  SizeOfOptionalHeader", "0x00F0"}, {"  Magic", "0x020B"}, {"  ImageBase", "0x0000000140000000"},
          {"  AddressOfEntryPoint", "0x00001000"}, {"  Subsystem", "0x0003"}, {"  NumberOfRvaAndSizes", "0x00000010"}}},
        {"zip-local-header.tvsd", 30 + 256, zip, 0, kText,
         {{"signature", "67324752"}, {"compression", "0"}, {"uncompressedSize", "16"}, {"fileNameLength", "15"},
          {"lastModDate", std::to_string(((2024 - 1980) << 9) | (5 << 5) | 17)},
          {"fileName", "\"docs/readme.txtHello, pattern!...\""}}},  // stops at the line feed
        {"wav.tvsd", 44, wav, 0, kText,
         {{"  formType", "\"WAVE\""}, {"  chunkSize", std::to_string(wav.size() - 8)},  // the first: RIFF
          {"  formatTag", "1"}, {"  channels", "2"}, {"  samplesPerSec", "44100"}, {"  avgBytesPerSec", "176400"},
          {"  bitsPerSample", "16"}}},
        {"gif.tvsd", 13, gif, 0, kText,
         {{"signature", "\"GIF\""}, {"version", "\"89a\""}, {"logicalScreenWidth", "32"},
          {"logicalScreenHeight", "20"}, {"packedFields", "128"}}},
    };
    for (const auto& c : kCases) {
        const auto rows = Evaluate(c.pattern, c.requestSize, c.bytes, c.offset, c.format);
        for (const auto& [name, value] : c.values) EXPECT_EQ(ValueOf(rows, name), value) << c.pattern << ": " << name;
    }
    // The header of the chunk after "fmt ".
    const auto wave = Evaluate("wav.tvsd", 44, wav, 0, kText);
    EXPECT_EQ(Narrow(wave[wave.size() - 2].value) + " " + Narrow(wave.back().value), "\"data\" 40");
}

}  // namespace
}  // namespace tvx::test
