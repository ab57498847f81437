#pragma once
// Parsing of tavro-cli's numeric and byte arguments.

#include "settings/Enums.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tvx::cli {

// Hexadecimal with an optional "0x"; at most 16 digits.
[[nodiscard]] std::optional<std::uint64_t> ParseHexNumber(std::u16string_view text);
// Decimal digits only; no overflow.
[[nodiscard]] std::optional<std::uint64_t> ParseDecimal(std::u16string_view text);
// An even, non-zero number of hexadecimal digits.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::u16string_view text);

// "ascii", "utf8", "utf16le" or "utf16be".
[[nodiscard]] std::optional<TextEncoding> ParseEncodingName(std::u16string_view text);

}  // namespace tvx::cli
