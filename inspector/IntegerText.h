#pragma once
// The texts of the inspector's integer rows.

#include <cstdint>
#include <string>

namespace tvx {

// "0x" and the value in capital hexadecimal, zero-padded on the left to `digits` (a value
// that needs more digits is written in full): FormatPrefixedHex(1, 4) is "0x0001".
[[nodiscard]] std::u16string FormatPrefixedHex(std::uint64_t value, int digits);

// FormatPrefixedHex, " / " and the value in decimal: FormatHexAndDecimal(65, 2) is "0x41 / 65".
[[nodiscard]] std::u16string FormatHexAndDecimal(std::uint64_t value, int digits);

}  // namespace tvx
