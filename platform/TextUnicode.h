#pragma once
// Whether bytes look like UTF-16 text (IsTextUnicode with the tests IS_TEXT_UNICODE_ASCII16 |
// IS_TEXT_UNICODE_STATISTICS | IS_TEXT_UNICODE_CONTROLS).

#include <cstdint>
#include <span>

namespace tvx::platform {

// The bytes are read as little-endian 16-bit units; an odd last byte is ignored. Windows
// applies its own statistics, which are not documented. Elsewhere the bytes pass when there
// is at least one unit and
//  - a unit is CR, LF, TAB, space or the ideographic space U+3000, or
//  - every unit is a zero-extended ASCII character U+0001 to U+007F, or
//  - there are two units or more and, from each unit to the next, the high bytes change less
//    than half as much as the low bytes: 2 * sum |high difference| < sum |low difference|.
// Both accept "A\0B\0C\0D\0" and "H\0i\0 \0" and reject the bytes 00 DC (one unit U+DC00),
// "ABCD" as bytes, and big-endian text ("\0A\0B").
[[nodiscard]] bool IsPlausibleUtf16Text(std::span<const std::uint8_t> bytes);

}  // namespace tvx::platform
