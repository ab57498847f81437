#pragma once
// The texts a selection can be copied as.

#include <cstdint>
#include <span>
#include <string>

namespace tvx {

enum class CopyFormat : std::uint8_t {
    HexSpaced,    // "00 0A FF", what Copy writes
    HexCompact,   // "000AFF"
    CArray,       // "unsigned char data[3] = {" and lines of at most 12 "0x0A," then "};"
    PythonBytes,  // b'\x00\x0a\xff'
    Base64,       // RFC 4648 with padding, one line
};

// Selections above this size are copied only after the user agrees.
constexpr std::uint64_t kLargeCopyBytes = 16 << 20;

// The bytes as text in format; lines end with CR LF. Throws std::bad_alloc when the text does
// not fit in memory.
[[nodiscard]] std::u16string FormatCopyText(std::span<const std::uint8_t> bytes, CopyFormat format);

}  // namespace tvx
