#pragma once
// The count text of the Insert Bytes prompt.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tvx {

// Decimal digits, or hexadecimal after "0x" or "0X", blanks around them ignored; at least 1
// and at most 2^64 - 1.
[[nodiscard]] std::optional<std::uint64_t> ParseByteCount(std::u16string_view text);

}  // namespace tvx
