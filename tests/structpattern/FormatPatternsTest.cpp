// The pattern files shipped in patterns/ laid over real files of their formats.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tests/structpattern/PatternTestSupport.h"
#include "tests/structpattern/SampleFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tvx::test {
namespace {

std::shared_ptr<const StructPatternFile> LoadShipped(const char* name) {
    StructPatternFile file;
    std::u16string error;
    const std::u16string path = u"patterns/" + std::u16string(name, name + std::char_traits<char>::length(name));
    EXPECT_TRUE(LoadStructPatternFile(path, file, error)) << name << ": " << Narrow(error);
    return std::make_shared<const StructPatternFile>(std::move(file));
}

// The rows of the pattern over the file's bytes from offset, as many as a request carries.
std::vector<StructViewRow> Evaluate(const std::shared_ptr<const StructPatternFile>& file, const Bytes& bytes,
                                    std::uint64_t offset = 0, StructValueFormat format = {}) {
    StructEvalRequest request;
    request.file = file;
    request.baseOffset = offset;
    const std::size_t start = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes.size()));
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(StructRequestSize(*file), bytes.size() - start));
    request.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes.begin() + static_cast<std::ptrdiff_t>(start + count));
    request.format = format;
    return BuildStructRows(request);
}

constexpr StructValueFormat kDecimal{ByteArrayFormat::Hex, ByteOrder::Little, NumericBase::Dec};
constexpr StructValueFormat kText{ByteArrayFormat::Ascii, ByteOrder::Little, NumericBase::Dec};

TEST(ShippedPatterns, Bmp) {
    const auto file = LoadShipped("bmp.tvsd");
    EXPECT_EQ(StructRequestSize(*file), 54u);
    const Bytes bmp = MakeBmp(3, 2, 24);
    const auto rows = Evaluate(file, bmp, 0, kDecimal);
    EXPECT_EQ(ValueOf(rows, "  bfType"), "19778");  // "BM"
    EXPECT_EQ(ValueOf(rows, "  bfSize"), std::to_string(bmp.size()));
    EXPECT_EQ(ValueOf(rows, "  bfOffBits"), "54");
    EXPECT_EQ(ValueOf(rows, "info : BITMAPINFOHEADER"), "");
    EXPECT_EQ(ValueOf(rows, "  biSize"), "40");
    EXPECT_EQ(ValueOf(rows, "  biWidth"), "3");
    EXPECT_EQ(ValueOf(rows, "  biHeight"), "2");
    EXPECT_EQ(ValueOf(rows, "  biBitCount"), "24");
    EXPECT_EQ(ValueOf(rows, "  biSizeImage"), "24");  // two rows of 9 bytes padded to 12
    EXPECT_EQ(rows.back().offset, u"0x32");
}

TEST(ShippedPatterns, Png) {
    const auto file = LoadShipped("png.tvsd");
    const Bytes png = MakePng(640, 480);
    const auto rows = Evaluate(file, png, 0, {ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec});
    EXPECT_EQ(ValueOf(rows, "signature"), "\"...\"");  // starts with the non-ASCII byte 89
    EXPECT_EQ(ValueOf(rows, "  length"), "13");
    EXPECT_EQ(ValueOf(rows, "  type"), "\"IHDR\"");
    EXPECT_EQ(ValueOf(rows, "  width"), "640");
    EXPECT_EQ(ValueOf(rows, "  height"), "480");
    EXPECT_EQ(ValueOf(rows, "  bitDepth"), "8");
    EXPECT_EQ(ValueOf(Evaluate(file, png), "signature"), "89 50 4E 47 0D 0A 1A 0A");
    EXPECT_EQ(ValueOf(Evaluate(file, png, 0, {}), "  crc"), "0x" + [&] {
        char text[16];
        std::snprintf(text, sizeof text, "%02X%02X%02X%02X", png[32], png[31], png[30], png[29]);
        return std::string(text);
    }());
}

TEST(ShippedPatterns, Elf64) {
    const auto file = LoadShipped("elf64.tvsd");
    EXPECT_EQ(StructRequestSize(*file), 64u);
    const Bytes elf = MakeElf64();
    const auto rows = Evaluate(file, elf);
    EXPECT_EQ(ValueOf(rows, "  magic"), "7F 45 4C 46");
    EXPECT_EQ(ValueOf(rows, "  fileClass"), "0x02");
    EXPECT_EQ(ValueOf(rows, "e_machine"), "0x003E");
    EXPECT_EQ(ValueOf(rows, "e_entry"), "0x0000000000400078");
    EXPECT_EQ(ValueOf(rows, "e_phoff"), "0x0000000000000040");
    const auto decimal = Evaluate(file, elf, 0, kDecimal);
    EXPECT_EQ(ValueOf(decimal, "e_type"), "2");
    EXPECT_EQ(ValueOf(decimal, "e_ehsize"), "64");
    EXPECT_EQ(ValueOf(decimal, "e_phentsize"), "56");
    EXPECT_EQ(ValueOf(decimal, "e_phnum"), "1");
}

TEST(ShippedPatterns, DosAndPeHeaders) {
    const Bytes pe = MakePe64();
    const auto dosFile = LoadShipped("dos-header.tvsd");
    EXPECT_EQ(StructRequestSize(*dosFile), 64u);
    const auto dos = Evaluate(dosFile, pe);
    EXPECT_EQ(ValueOf(dos, "e_magic"), "0x5A4D");
    EXPECT_EQ(ValueOf(dos, "e_lfanew"), "0x00000080");
    const std::uint64_t lfanew = ReadLittle(pe, 0x3C, 4);

    const auto file = LoadShipped("pe64-nt-headers.tvsd");
    EXPECT_EQ(StructRequestSize(*file), 264u);
    const auto rows = Evaluate(file, pe, lfanew);
    EXPECT_EQ(ValueOf(rows, "Signature"), "0x00004550");
    EXPECT_EQ(ValueOf(rows, "  Machine"), "0x8664");
    EXPECT_EQ(ValueOf(rows, "  Magic"), "0x020B");
    EXPECT_EQ(ValueOf(rows, "  ImageBase"), "0x0000000140000000");
    EXPECT_EQ(ValueOf(rows, "  AddressOfEntryPoint"), "0x00001000");
    const auto decimal = Evaluate(file, pe, lfanew, kDecimal);
    EXPECT_EQ(ValueOf(decimal, "  NumberOfSections"), "1");
    EXPECT_EQ(ValueOf(decimal, "  SizeOfOptionalHeader"), "240");
    EXPECT_EQ(ValueOf(decimal, "  Subsystem"), "3");
    EXPECT_EQ(ValueOf(decimal, "  NumberOfRvaAndSizes"), "16");
    EXPECT_EQ(Narrow(decimal[1].name), "FileHeader : IMAGE_FILE_HEADER");
    EXPECT_EQ(Narrow(decimal[1].offset), "0x84");
    EXPECT_EQ(Narrow(rows.back().name), "  DataDirectory");
    EXPECT_EQ(Narrow(rows.back().offset), "0x108");  // 0x80 + 24 + 112
    EXPECT_EQ(Narrow(rows.back().size), "128");
}

TEST(ShippedPatterns, ZipLocalHeader) {
    const auto file = LoadShipped("zip-local-header.tvsd");
    EXPECT_EQ(StructRequestSize(*file), 30u + 256u);
    const Bytes zip = MakeZip("docs/readme.txt", "Hello, pattern!\n");
    const auto rows = Evaluate(file, zip, 0, kText);
    EXPECT_EQ(ValueOf(rows, "signature"), "67324752");  // 0x04034B50
    EXPECT_EQ(ValueOf(rows, "compression"), "0");
    EXPECT_EQ(ValueOf(rows, "uncompressedSize"), "16");
    EXPECT_EQ(ValueOf(rows, "fileNameLength"), "15");
    EXPECT_EQ(ValueOf(rows, "lastModDate"), std::to_string(((2024 - 1980) << 9) | (5 << 5) | 17));
    EXPECT_EQ(ValueOf(rows, "fileName"), "\"docs/readme.txtHello, pattern!...\"");  // stops at the line feed
    EXPECT_EQ(Narrow(rows.back().size), "1+");
}

TEST(ShippedPatterns, Wav) {
    const auto file = LoadShipped("wav.tvsd");
    const Bytes wav = MakeWav(2, 44100, 10);
    const auto rows = Evaluate(file, wav, 0, kText);
    EXPECT_EQ(ValueOf(rows, "  formType"), "\"WAVE\"");
    EXPECT_EQ(ValueOf(rows, "  chunkSize"), std::to_string(wav.size() - 8));  // the first one: RIFF
    EXPECT_EQ(ValueOf(rows, "  formatTag"), "1");
    EXPECT_EQ(ValueOf(rows, "  channels"), "2");
    EXPECT_EQ(ValueOf(rows, "  samplesPerSec"), "44100");
    EXPECT_EQ(ValueOf(rows, "  avgBytesPerSec"), "176400");
    EXPECT_EQ(ValueOf(rows, "  bitsPerSample"), "16");
    EXPECT_EQ(Narrow(rows[rows.size() - 2].value), "\"data\"");
    EXPECT_EQ(Narrow(rows.back().value), "40");
}

TEST(ShippedPatterns, Gif) {
    const auto file = LoadShipped("gif.tvsd");
    EXPECT_EQ(StructRequestSize(*file), 13u);
    const Bytes gif = MakeGif(320, 200);
    const auto rows = Evaluate(file, gif, 0, kText);
    EXPECT_EQ(ValueOf(rows, "signature"), "\"GIF\"");
    EXPECT_EQ(ValueOf(rows, "version"), "\"89a\"");
    EXPECT_EQ(ValueOf(rows, "logicalScreenWidth"), "320");
    EXPECT_EQ(ValueOf(rows, "logicalScreenHeight"), "200");
    EXPECT_EQ(ValueOf(rows, "packedFields"), "128");
}

TEST(ShippedPatterns, ShortFilesLeaveTheRestUnavailable) {
    const auto file = LoadShipped("bmp.tvsd");
    const Bytes bmp = MakeBmp(1, 1, 32);
    const auto rows = Evaluate(file, Bytes(bmp.begin(), bmp.begin() + 20), 0, kDecimal);
    EXPECT_EQ(ValueOf(rows, "  biWidth"), "-");
    EXPECT_EQ(ValueOf(rows, "  biSize"), "40");
}

}  // namespace
}  // namespace tvx::test
