#pragma once
// The texts of struct field values.

#include "structpattern/StructPatternFile.h"
#include "structpattern/StructValueFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tvx {

// Unsigned. 1 to 8 bytes: decimal, or "0x" and 2n upper-case digits. More than 8 bytes: "0x"
// and FormatHexBytes of all of them in storage order. Empty for n = 0.
[[nodiscard]] std::u16string FormatIntegerValue(const std::uint8_t* bytes, std::size_t n, ByteOrder byteOrder,
                                                NumericBase numericBase);
// A 4-byte Float or 8-byte Double as "%g" would write it, then " (0x...)" with its bits; any
// other size as FormatIntegerValue.
[[nodiscard]] std::u16string FormatFloatValue(const std::uint8_t* bytes, std::size_t n, FieldKind kind,
                                              const StructValueFormat& format);
// "0 bytes", or the hex of the first 16 bytes followed by " ..." when there are more.
[[nodiscard]] std::u16string FormatByteArray(const std::uint8_t* bytes, std::size_t n);
// "0 bytes", or the printable characters up to a zero byte in double quotes; "..." marks a stop
// at a non-printable byte or after 64 characters.
[[nodiscard]] std::u16string FormatCharArray(const std::uint8_t* bytes, std::size_t n);
// "00 1A FF".
[[nodiscard]] std::u16string FormatHexBytes(const std::uint8_t* bytes, std::size_t n);
// "0x" and base + offset in upper-case hexadecimal without leading zeros; a sum past 2^64 - 1
// is written in full ("0x1" and 16 digits), never wrapped.
[[nodiscard]] std::u16string FormatOffsetText(std::uint64_t base, std::uint64_t offset);

}  // namespace tvx
