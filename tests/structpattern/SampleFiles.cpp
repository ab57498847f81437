#include "tests/structpattern/SampleFiles.h"

#include <cstring>
#include <string>

namespace tvx::test {
namespace {

void PutLittle(Bytes& out, std::uint64_t value, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBig(Bytes& out, std::uint64_t value, int n) {
    for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutText(Bytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }

void PatchLittle(Bytes& out, std::size_t offset, std::uint64_t value, int n) {
    for (int i = 0; i < n; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutPngChunk(Bytes& out, const char* type, const Bytes& data) {
    PutBig(out, data.size(), 4);
    const std::size_t start = out.size();
    PutText(out, type);
    out.insert(out.end(), data.begin(), data.end());
    PutBig(out, Crc32(out.data() + start, out.size() - start), 4);
}

// zlib stream of stored deflate blocks.
Bytes ZlibStored(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t done = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - done, 65535);
        out.push_back(done + n == raw.size() ? 1 : 0);
        PutLittle(out, n, 2);
        PutLittle(out, ~n & 0xFFFF, 2);
        out.insert(out.end(), raw.begin() + done, raw.begin() + done + n);
        done += n;
    } while (done < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig(out, (b << 16) | a, 4);
    return out;
}

}  // namespace

std::uint64_t ReadLittle(const Bytes& bytes, std::size_t offset, std::size_t n) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < n; ++i) value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
    return value;
}

Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    const std::uint32_t rowBytes = ((static_cast<std::uint32_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    Bytes out;
    PutText(out, "BM");
    PutLittle(out, 14 + 40 + imageBytes, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 14 + 40, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, static_cast<std::uint32_t>(width), 4);
    PutLittle(out, static_cast<std::uint32_t>(height), 4);
    PutLittle(out, 1, 2);
    PutLittle(out, bitCount, 2);
    PutLittle(out, 0, 4);  // BI_RGB
    PutLittle(out, imageBytes, 4);
    PutLittle(out, 2835, 4);  // 72 DPI
    PutLittle(out, 2835, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    for (std::uint32_t i = 0; i < imageBytes; ++i) out.push_back(static_cast<std::uint8_t>(i * 7));
    return out;
}

Bytes MakePng(std::uint32_t width, std::uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBig(ihdr, width, 4);
    PutBig(ihdr, height, 4);
    ihdr.insert(ihdr.end(), {8, 0, 0, 0, 0});  // 8-bit greyscale, no interlace
    PutPngChunk(out, "IHDR", ihdr);
    Bytes raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (std::uint32_t x = 0; x < width; ++x) raw.push_back(static_cast<std::uint8_t>(x * 16 + y));
    }
    PutPngChunk(out, "IDAT", ZlibStored(raw));
    PutPngChunk(out, "IEND", {});
    return out;
}

Bytes MakeElf64() {
    constexpr std::uint64_t kBase = 0x400000;
    const Bytes code = {0xB8, 0x3C, 0, 0, 0,  // mov eax, 60 (exit)
                        0x31, 0xFF,           // xor edi, edi
                        0x0F, 0x05};          // syscall
    Bytes out = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutLittle(out, 2, 2);          // ET_EXEC
    PutLittle(out, 0x3E, 2);       // EM_X86_64
    PutLittle(out, 1, 4);
    PutLittle(out, kBase + 64 + 56, 8);  // entry: the code after the headers
    PutLittle(out, 64, 8);         // program headers right after this header
    PutLittle(out, 0, 8);          // no section headers
    PutLittle(out, 0, 4);
    PutLittle(out, 64, 2);
    PutLittle(out, 56, 2);
    PutLittle(out, 1, 2);
    PutLittle(out, 64, 2);
    PutLittle(out, 0, 2);
    PutLittle(out, 0, 2);
    const std::uint64_t fileSize = 64 + 56 + code.size();
    PutLittle(out, 1, 4);          // PT_LOAD
    PutLittle(out, 5, 4);          // PF_R | PF_X
    PutLittle(out, 0, 8);
    PutLittle(out, kBase, 8);
    PutLittle(out, kBase, 8);
    PutLittle(out, fileSize, 8);
    PutLittle(out, fileSize, 8);
    PutLittle(out, 0x1000, 8);
    out.insert(out.end(), code.begin(), code.end());
    return out;
}

Bytes MakePe64() {
    Bytes out(0x80, 0);
    out[0] = 'M';
    out[1] = 'Z';
    PatchLittle(out, 0x02, 0x90, 2);   // e_cblp
    PatchLittle(out, 0x04, 3, 2);      // e_cp
    PatchLittle(out, 0x08, 4, 2);      // e_cparhdr
    PatchLittle(out, 0x0C, 0xFFFF, 2); // e_maxalloc
    PatchLittle(out, 0x10, 0xB8, 2);   // e_sp
    PatchLittle(out, 0x18, 0x40, 2);   // e_lfarlc
    PatchLittle(out, 0x3C, 0x80, 4);   // e_lfanew
    const Bytes stub = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
    std::copy(stub.begin(), stub.end(), out.begin() + 0x40);
    const char* message = "This program cannot be run in DOS mode.\r\r\n$";
    std::memcpy(out.data() + 0x4E, message, std::strlen(message));

    PutText(out, "PE");
    PutLittle(out, 0, 2);
    PutLittle(out, 0x8664, 2);         // Machine
    PutLittle(out, 1, 2);              // NumberOfSections
    PutLittle(out, 0x65A0B2C0, 4);     // TimeDateStamp
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 240, 2);            // SizeOfOptionalHeader
    PutLittle(out, 0x0022, 2);         // executable, large address aware
    PutLittle(out, 0x20B, 2);          // PE32+
    out.insert(out.end(), {14, 36});   // linker 14.36
    PutLittle(out, 0x200, 4);          // SizeOfCode
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0x1000, 4);         // AddressOfEntryPoint
    PutLittle(out, 0x1000, 4);         // BaseOfCode
    PutLittle(out, 0x140000000, 8);    // ImageBase
    PutLittle(out, 0x1000, 4);
    PutLittle(out, 0x200, 4);
    for (int version : {6, 0, 0, 0, 6, 0}) PutLittle(out, version, 2);
    PutLittle(out, 0, 4);
    PutLittle(out, 0x2000, 4);         // SizeOfImage
    PutLittle(out, 0x200, 4);          // SizeOfHeaders
    PutLittle(out, 0, 4);
    PutLittle(out, 3, 2);              // console
    PutLittle(out, 0x8160, 2);         // DllCharacteristics
    for (std::uint64_t size : {0x100000, 0x1000, 0x100000, 0x1000}) PutLittle(out, size, 8);
    PutLittle(out, 0, 4);
    PutLittle(out, 16, 4);
    for (int i = 0; i < 16; ++i) PutLittle(out, 0, 8);
    PutText(out, ".text");
    out.insert(out.end(), 3, 0);
    for (std::uint32_t value : {0x10u, 0x1000u, 0x200u, 0x200u, 0u, 0u}) PutLittle(out, value, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0x60000020, 4);     // code, execute, read
    out.resize(0x200, 0);
    const Bytes code = {0x31, 0xC0, 0xC3};  // xor eax, eax; ret
    out.insert(out.end(), code.begin(), code.end());
    out.resize(0x400, 0);
    return out;
}

Bytes MakeZip(const char* name, const char* content) {
    const std::size_t nameLength = std::strlen(name);
    const std::size_t size = std::strlen(content);
    const std::uint32_t crc = Crc32(reinterpret_cast<const std::uint8_t*>(content), size);
    constexpr std::uint16_t kTime = (13 << 11) | (45 << 5) | (30 / 2);
    constexpr std::uint16_t kDate = ((2024 - 1980) << 9) | (5 << 5) | 17;
    // The fields from "version needed" to "extra field length", alike in both headers.
    auto putEntryFields = [&](Bytes& out) {
        PutLittle(out, 10, 2);
        PutLittle(out, 0, 2);
        PutLittle(out, 0, 2);  // stored
        PutLittle(out, kTime, 2);
        PutLittle(out, kDate, 2);
        PutLittle(out, crc, 4);
        PutLittle(out, size, 4);
        PutLittle(out, size, 4);
        PutLittle(out, nameLength, 2);
        PutLittle(out, 0, 2);
    };
    Bytes out;
    PutLittle(out, 0x04034B50, 4);
    putEntryFields(out);
    PutText(out, name);
    PutText(out, content);
    const std::size_t central = out.size();
    PutLittle(out, 0x02014B50, 4);
    PutLittle(out, 0x031E, 2);  // made by Unix, 3.0
    putEntryFields(out);
    PutLittle(out, 0, 2);
    PutLittle(out, 0, 2);
    PutLittle(out, 0, 2);
    PutLittle(out, 0x81A40000, 4);  // -rw-r--r--
    PutLittle(out, 0, 4);           // local header offset
    PutText(out, name);
    const std::size_t centralSize = out.size() - central;
    PutLittle(out, 0x06054B50, 4);
    PutLittle(out, 0, 2);
    PutLittle(out, 0, 2);
    PutLittle(out, 1, 2);
    PutLittle(out, 1, 2);
    PutLittle(out, centralSize, 4);
    PutLittle(out, central, 4);
    PutLittle(out, 0, 2);
    return out;
}

Bytes MakeWav(std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames) {
    const std::uint32_t blockAlign = channels * 2u;
    const std::uint32_t dataBytes = frames * blockAlign;
    Bytes out;
    PutText(out, "RIFF");
    PutLittle(out, 4 + 24 + 8 + dataBytes, 4);
    PutText(out, "WAVE");
    PutText(out, "fmt ");
    PutLittle(out, 16, 4);
    PutLittle(out, 1, 2);
    PutLittle(out, channels, 2);
    PutLittle(out, sampleRate, 4);
    PutLittle(out, sampleRate * blockAlign, 4);
    PutLittle(out, blockAlign, 2);
    PutLittle(out, 16, 2);
    PutText(out, "data");
    PutLittle(out, dataBytes, 4);
    out.resize(out.size() + dataBytes, 0);
    return out;
}

Bytes MakeGif(std::uint16_t width, std::uint16_t height) {
    Bytes out;
    PutText(out, "GIF89a");
    PutLittle(out, width, 2);
    PutLittle(out, height, 2);
    out.insert(out.end(), {0x80, 0, 0});                // global table of 2 entries
    out.insert(out.end(), {0, 0, 0, 0xFF, 0xFF, 0xFF});  // black, white
    out.push_back(0x2C);                                // image descriptor
    PutLittle(out, 0, 2);
    PutLittle(out, 0, 2);
    PutLittle(out, width, 2);
    PutLittle(out, height, 2);
    out.push_back(0);
    // LZW with minimum code size 2: a clear code (4) before every pixel keeps all codes at
    // 3 bits; the end code (5) closes the stream.
    out.push_back(2);
    Bytes packed;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](std::uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            packed.push_back(static_cast<std::uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(width) * height; ++i) {
        emit(4);
        emit(0);
    }
    emit(5);
    if (count > 0) packed.push_back(static_cast<std::uint8_t>(bits));
    for (std::size_t done = 0; done < packed.size(); done += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - done);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), packed.begin() + done, packed.begin() + done + n);
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

}  // namespace tvx::test
