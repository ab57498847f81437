#include "tests/structpattern/SampleFiles.h"

#include "checksum/Crc32.h"

#include <algorithm>
#include <initializer_list>
#include <span>
#include <string_view>

namespace tvx::test {
namespace {

struct Field {
    std::uint64_t value;
    int width;
};

// Appends each field as an unsigned integer of its width: little-endian, or big-endian when big.
void Put(Bytes& out, std::initializer_list<Field> fields, bool big = false) {
    for (const Field& field : fields) {
        for (int i = 0; i < field.width; ++i)
            out.push_back(static_cast<std::uint8_t>(field.value >> (8 * (big ? field.width - 1 - i : i))));
    }
}

void PutText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

std::uint32_t Crc(std::span<const std::uint8_t> bytes) {
    Crc32 crc;
    crc.Update(bytes);
    return crc.Value();
}

}  // namespace

Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    const std::uint32_t image = (w * bitCount + 31) / 32 * 4 * h;
    Bytes out;
    PutText(out, "BM");
    Put(out, {{54 + image, 4}, {0, 4}, {54, 4}});
    // BITMAPINFOHEADER: one plane, BI_RGB, 72 DPI, no palette.
    Put(out, {{40, 4}, {w, 4}, {h, 4}, {1, 2}, {bitCount, 2}, {0, 4}, {image, 4}, {2835, 4}, {2835, 4},
              {0, 4}, {0, 4}});
    for (std::uint32_t i = 0; i < image; ++i) out.push_back(static_cast<std::uint8_t>(i * 7));
    return out;
}

Bytes MakePng(std::uint32_t width, std::uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto chunk = [&](std::string_view type, const Bytes& data) {
        Put(out, {{data.size(), 4}}, true);
        const std::size_t start = out.size();
        PutText(out, type);
        out.insert(out.end(), data.begin(), data.end());
        Put(out, {{Crc(std::span(out).subspan(start)), 4}}, true);
    };
    Bytes ihdr;
    Put(ihdr, {{width, 4}, {height, 4}, {8, 1}, {0, 4}}, true);  // greyscale, no interlace
    chunk("IHDR", ihdr);
    Bytes raw;  // rows of filter type 0; below 64 KiB for one stored block
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (std::uint32_t x = 0; x < width; ++x) raw.push_back(static_cast<std::uint8_t>(x * 16 + y));
    }
    Bytes zlib = {0x78, 0x01, 1};
    Put(zlib, {{raw.size(), 2}, {~raw.size() & 0xFFFF, 2}});
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    std::uint32_t a = 1, b = 0;  // Adler-32
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put(zlib, {{(b << 16) | a, 4}}, true);
    chunk("IDAT", zlib);
    chunk("IEND", {});
    return out;
}

Bytes MakeElf64() {
    constexpr std::uint64_t kBase = 0x400000;
    const Bytes code = {0xB8, 0x3C, 0, 0, 0, 0x31, 0xFF, 0x0F, 0x05};  // mov eax, 60; xor edi, edi; syscall
    const std::uint64_t size = 64 + 56 + code.size();
    Bytes out = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // ET_EXEC, EM_X86_64, entry after the headers, program headers at 64, no section headers.
    Put(out, {{2, 2}, {0x3E, 2}, {1, 4}, {kBase + 64 + 56, 8}, {64, 8}, {0, 8}, {0, 4}, {64, 2}, {56, 2}, {1, 2},
              {64, 2}, {0, 2}, {0, 2}});
    // PT_LOAD, PF_R | PF_X, the whole file at the base.
    Put(out, {{1, 4}, {5, 4}, {0, 8}, {kBase, 8}, {kBase, 8}, {size, 8}, {size, 8}, {0x1000, 8}});
    out.insert(out.end(), code.begin(), code.end());
    return out;
}

Bytes MakePe64() {
    Bytes out;
    PutText(out, "MZ");
    Put(out, {{0x90, 2}, {3, 2}, {0, 2}, {4, 2}, {0, 2}, {0xFFFF, 2}, {0, 2}, {0xB8, 2}, {0, 2}, {0, 2}, {0, 2},
              {0x40, 2}});
    out.resize(0x3C);
    Put(out, {{0x80, 4}});
    out.insert(out.end(), {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21});
    PutText(out, "This program cannot be run in DOS mode.\r\r\n$");
    out.resize(0x80);
    PutText(out, "PE");
    // IMAGE_FILE_HEADER: x86-64, one section, executable and large address aware.
    Put(out, {{0, 2}, {0x8664, 2}, {1, 2}, {0x65A0B2C0, 4}, {0, 4}, {0, 4}, {240, 2}, {0x22, 2}});
    // IMAGE_OPTIONAL_HEADER64: linker 14.36, entry and code at 0x1000, versions 6.0, console,
    // stack and heap sizes, 16 empty data directories.
    Put(out, {{0x20B, 2}, {14, 1}, {36, 1}, {0x200, 4}, {0, 4}, {0, 4}, {0x1000, 4}, {0x1000, 4},
              {0x140000000, 8}, {0x1000, 4}, {0x200, 4}, {6, 2}, {0, 2}, {0, 2}, {0, 2}, {6, 2}, {0, 2}, {0, 4},
              {0x2000, 4}, {0x200, 4}, {0, 4}, {3, 2}, {0x8160, 2}, {0x100000, 8}, {0x1000, 8}, {0x100000, 8},
              {0x1000, 8}, {0, 4}, {16, 4}});
    out.resize(out.size() + 16 * 8);
    PutText(out, std::string_view(".text\0\0\0", 8));
    Put(out, {{0x10, 4}, {0x1000, 4}, {0x200, 4}, {0x200, 4}, {0, 4}, {0, 4}, {0, 4}, {0x60000020, 4}});
    out.resize(0x200);
    out.insert(out.end(), {0x31, 0xC0, 0xC3});  // xor eax, eax; ret
    out.resize(0x400);
    return out;
}

Bytes MakeZip(const char* nameText, const char* contentText) {
    const std::string_view name = nameText, content = contentText;
    const std::uint32_t crc = Crc(std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    // From "version needed" to "extra field length", alike in both headers: 1.0, stored,
    // 13:45:30 on 2024-05-17.
    const auto entry = [&](Bytes& out) {
        Put(out, {{10, 2}, {0, 2}, {0, 2}, {(13 << 11) | (45 << 5) | 15, 2}, {((2024 - 1980) << 9) | (5 << 5) | 17, 2},
                  {crc, 4}, {content.size(), 4}, {content.size(), 4}, {name.size(), 2}, {0, 2}});
    };
    Bytes out;
    Put(out, {{0x04034B50, 4}});
    entry(out);
    PutText(out, name);
    PutText(out, content);
    const std::size_t central = out.size();
    Put(out, {{0x02014B50, 4}, {0x031E, 2}});  // made by Unix, 3.0
    entry(out);
    Put(out, {{0, 2}, {0, 2}, {0, 2}, {0x81A40000, 4}, {0, 4}});  // -rw-r--r--, local header at 0
    PutText(out, name);
    Put(out, {{0x06054B50, 4}, {0, 2}, {0, 2}, {1, 2}, {1, 2}, {out.size() - central, 4}, {central, 4}, {0, 2}});
    return out;
}

Bytes MakeWav(std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames) {
    const std::uint32_t block = channels * 2u, data = frames * block;
    Bytes out;
    PutText(out, "RIFF");
    Put(out, {{36 + data, 4}});
    PutText(out, "WAVEfmt ");
    Put(out, {{16, 4}, {1, 2}, {channels, 2}, {sampleRate, 4}, {sampleRate * block, 4}, {block, 2}, {16, 2}});
    PutText(out, "data");
    Put(out, {{data, 4}});
    out.resize(out.size() + data);
    return out;
}

Bytes MakeGif(std::uint16_t width, std::uint16_t height) {
    Bytes out;
    PutText(out, "GIF89a");
    Put(out, {{width, 2}, {height, 2}, {0x80, 1}, {0, 2}, {0, 3}, {0xFFFFFF, 3}});
    Put(out, {{0x2C, 1}, {0, 4}, {width, 2}, {height, 2}, {0, 1}, {2, 1}});  // image descriptor, LZW size 2
    // A clear code (4) before every pixel keeps all codes at 3 bits; the end code (5) closes.
    std::vector<std::uint32_t> codes;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(width) * height; ++i) codes.insert(codes.end(), {4, 0});
    codes.push_back(5);
    Bytes packed((codes.size() * 3 + 7) / 8);
    for (std::size_t bit = 0; bit < codes.size() * 3; ++bit) {
        if ((codes[bit / 3] >> (bit % 3)) & 1) packed[bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    }
    for (std::size_t done = 0; done < packed.size(); done += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - done);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(done),
                   packed.begin() + static_cast<std::ptrdiff_t>(done + n));
    }
    out.insert(out.end(), {0, 0x3B});
    return out;
}

}  // namespace tvx::test
