#pragma once
// Files of common formats made in code: a complete bitmap, and the headers of the others as
// far as the shipped patterns read them.

#include <cstdint>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// A BI_RGB bitmap, bottom-up, rows padded to 4 bytes; bitCount 24 or 32.
Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount);
// An 8-bit greyscale PNG's signature, IHDR chunk and IEND chunk.
Bytes MakePng(std::uint32_t width, std::uint32_t height);
// The ELF header of an x86-64 Linux executable.
Bytes MakeElf64();
// A PE32+ console image's DOS header and its NT headers at e_lfanew 0x80.
Bytes MakePe64();
// A ZIP local file header of a stored entry, with its name and data.
Bytes MakeZip(const char* name, const char* content);
// A 16-bit PCM WAVE file of frames frames of silence.
Bytes MakeWav(std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames);
// A GIF89a header with a two-colour global table and the trailer.
Bytes MakeGif(std::uint16_t width, std::uint16_t height);

}  // namespace tvx::test
