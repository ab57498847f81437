#pragma once
// Turning what the user typed into the bytes to look for.

#include "settings/Enums.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tvx {

using SearchPattern = std::vector<std::uint8_t>;

// The longest pattern a search accepts.
constexpr std::size_t kMaxSearchPatternLength = 4096;

// Hexadecimal bytes: white space anywhere is ignored, then the digits are taken two at a time
// ("41 42", "4142" and "4 1 4 2" are the same two bytes). Nothing for an empty or odd count
// of digits, or a pair that is not two hexadecimal digits (so "0x41" is refused).
[[nodiscard]] std::optional<SearchPattern> ParseHexQuery(std::u16string_view text);

// Text in the view's encoding, byte for byte (no case folding, no normalisation). Nothing for
// empty text, a character outside ASCII for Ascii, or an encoding value outside the enum.
[[nodiscard]] std::optional<SearchPattern> EncodeTextQuery(std::u16string_view text, TextEncoding encoding);

// The query without leading and trailing spaces, tabs, carriage returns and line feeds.
[[nodiscard]] std::u16string_view TrimSearchQuery(std::u16string_view text);

}  // namespace tvx
