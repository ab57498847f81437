// The pattern files shipped in patterns/ laid over small but complete files of their formats.

#include "tests/structpattern/PatternTestSupport.h"
#include "tests/structpattern/SampleFiles.h"

#include <cstdio>

namespace tvx::test {
namespace {

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
         {{"  magic", "7F 45 4C 46"}, {"  fileClass", "0x02"}, {"e_machine", "0x003E"},
          {"e_entry", "0x0000000000400078"}, {"e_phoff", "0x0000000000000040"}}},
        {"elf64.tvsd", 64, elf, 0, kDecimal,
         {{"e_type", "2"}, {"e_ehsize", "64"}, {"e_phentsize", "56"}, {"e_phnum", "1"}}},
        {"dos-header.tvsd", 64, pe, 0, kHex, {{"e_magic", "0x5A4D"}, {"e_lfanew", "0x00000080"}}},
        {"pe64-nt-headers.tvsd", 264, pe, lfanew, kHex,
         {{"Signature", "0x00004550"}, {"  Machine", "0x8664"}, {"  Magic", "0x020B"},
          {"  ImageBase", "0x0000000140000000"}, {"  AddressOfEntryPoint", "0x00001000"}}},
        {"pe64-nt-headers.tvsd", 264, pe, lfanew, kDecimal,
         {{"  NumberOfSections", "1"}, {"  SizeOfOptionalHeader", "240"}, {"  Subsystem", "3"},
          {"  NumberOfRvaAndSizes", "16"}}},
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
    // Where rows lie: "name @ offset + size" of the row back from the last one.
    const auto at = [](const std::vector<StructViewRow>& rows, std::size_t back) {
        const StructViewRow& row = rows[rows.size() - 1 - back];
        return Narrow(row.name) + " @ " + Narrow(row.offset) + " + " + Narrow(row.size);
    };
    EXPECT_EQ(at(Evaluate("bmp.tvsd", 54, bmp, 0, kDecimal), 0), "  biClrImportant @ 0x32 + 4");
    const auto nt = Evaluate("pe64-nt-headers.tvsd", 264, pe, lfanew, kHex);
    EXPECT_EQ(at(nt, 0), "  DataDirectory @ 0x108 + 128");  // 0x80 + 24 + 112
    EXPECT_EQ(at(nt, nt.size() - 2), "FileHeader : IMAGE_FILE_HEADER @ 0x84 + 20");
    EXPECT_EQ(at(Evaluate("zip-local-header.tvsd", 286, zip, 0, kText), 0), "fileName @ 0x1E + 1+");
    const auto wave = Evaluate("wav.tvsd", 44, wav, 0, kText);
    EXPECT_EQ(Narrow(wave[wave.size() - 2].value) + " " + Narrow(wave.back().value), "\"data\" 40");
}

}  // namespace
}  // namespace tvx::test
