#pragma once
// Unsigned numbers as wide text.

#include <cstdint>
#include <string>

namespace tvx {

// Unsigned decimal: "0", "4660".
[[nodiscard]] std::u16string DecimalText(std::uint64_t value);
// Upper-case hexadecimal, zero-filled to at least minDigits digits, no prefix: "1A0".
[[nodiscard]] std::u16string HexText(std::uint64_t value, int minDigits = 1);
// Reads an unsigned decimal digit string; false when it is empty, holds a non-digit, or does
// not fit in 64 bits.
[[nodiscard]] bool ParseDecimal(const std::u16string& digits, std::uint64_t& value) noexcept;

}  // namespace tvx
