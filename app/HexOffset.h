#pragma once
// The offset text of the go-to prompt.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tvx {

// Hexadecimal, blanks around it ignored, with an optional "0x" or "0X". The rest is read the
// way the C library's unsigned conversion in base 16 reads it: leading white space, a plus or
// a minus sign (minus negates modulo 2^64) and one more "0x" are accepted; every character must
// be consumed and the value must fit in 64 bits. "100" is offset 256, not 100.
[[nodiscard]] std::optional<std::uint64_t> ParseHexOffset(std::u16string_view text);

// The prompt's initial text: capital hexadecimal without prefix or leading zeros ("0" for 0).
[[nodiscard]] std::u16string FormatHexOffset(std::uint64_t offset);

}  // namespace tvx
