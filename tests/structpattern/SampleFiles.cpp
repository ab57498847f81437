#include "tests/structpattern/SampleFiles.h"

#include "checksum/Crc32.h"

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
    chunk("IEND", {});
    return out;
}

Bytes MakeElf64() {
    Bytes out = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // ET_EXEC, EM_X86_64, entry after the headers, program headers at 64, no section headers.
    Put(out, {{2, 2}, {0x3E, 2}, {1, 4}, {0x400000 + 64 + 56, 8}, {64, 8}, {0, 8}, {0, 4}, {64, 2}, {56, 2}, {1, 2},
              {64, 2}, {0, 2}, {0, 2}});
    return out;
}

Bytes MakePe64() {
    Bytes out;
    PutText(out, "MZ");
    out.resize(0x3C);
    Put(out, {{0x80, 4}});
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
    return out;
}

Bytes MakeZip(const char* nameText, const char* contentText) {
    const std::string_view name = nameText, content = contentText;
    const std::uint32_t crc = Crc(std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    Bytes out;  // version 1.0, stored, 13:45:30 on 2024-05-17
    Put(out, {{0x04034B50, 4}, {10, 2}, {0, 2}, {0, 2}, {(13 << 11) | (45 << 5) | 15, 2},
              {((2024 - 1980) << 9) | (5 << 5) | 17, 2}, {crc, 4}, {content.size(), 4}, {content.size(), 4},
              {name.size(), 2}, {0, 2}});
    PutText(out, name);
    PutText(out, content);
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
    out.push_back(0x3B);  // no image: the trailer
    return out;
}

}  // namespace tvx::test
