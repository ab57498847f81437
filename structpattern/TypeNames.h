#pragma once
// Type names: normalization and the built-in types.

#include "structpattern/ParseState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tvx {

// Trims blanks, tabs, CR and LF at both ends, folds each run of white space into one blank
// and lower-cases every other character.
[[nodiscard]] std::u16string NormalizeTypeName(std::u16string_view text);

// Whether NormalizeTypeName(identifier) equals normalized, for an identifier token's text
// (which holds no white space), without building the normalized text.
[[nodiscard]] bool IdentifierEquals(std::u16string_view identifier, std::u16string_view normalized) noexcept;

// The size of a built-in type given its normalized name and the directive values of state
// ("void" is 0); nothing for any other name.
[[nodiscard]] std::optional<std::uint64_t> BuiltinTypeSize(const ParseState& state, std::u16string_view normalized);

// Whether values of this normalized type are shown as characters in the Ascii format.
[[nodiscard]] bool IsCharTypeName(std::u16string_view normalized) noexcept;

}  // namespace tvx
