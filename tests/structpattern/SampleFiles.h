#pragma once
// Small but complete files of common formats, made in code for the pattern and tool tests.

#include <cstdint>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// A BI_RGB bitmap, bottom-up, rows padded to 4 bytes; bitCount 24 or 32.
Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount);
// An 8-bit greyscale PNG: signature, IHDR, one IDAT (zlib with stored blocks), IEND.
Bytes MakePng(std::uint32_t width, std::uint32_t height);
// A minimal x86-64 Linux executable: ELF header, one PT_LOAD program header and code that
// calls exit(0).
Bytes MakeElf64();
// A PE32+ console image header: DOS header with stub, NT headers at e_lfanew 0x80, one
// section header, file-aligned to 0x200.
Bytes MakePe64();
// A ZIP archive with one stored entry: local header, name, data, central directory, end record.
Bytes MakeZip(const char* name, const char* content);
// A 16-bit PCM WAVE file of frames frames of silence.
Bytes MakeWav(std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames);
// A GIF89a image with a two-colour global table and every pixel of colour 0.
Bytes MakeGif(std::uint16_t width, std::uint16_t height);

}  // namespace tvx::test
