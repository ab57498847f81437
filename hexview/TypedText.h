#pragma once
// Characters typed into the text column, as WM_CHAR delivers them (one UTF-16 code unit at
// a time, an IME's result included), turned into the bytes of the view's encoding.

#include "settings/Enums.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tvx {

class TypedText {
public:
    // The bytes of the character this unit completes. Empty (and nothing written) for the first
    // half of a surrogate pair; nullopt for a unit the encoding does not take: controls, and in
    // ASCII anything outside 0x20 to 0x7E.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> Take(char16_t unit, TextEncoding encoding);
    void Reset() { highSurrogate_ = 0; }

private:
    char16_t highSurrogate_ = 0;
};

}  // namespace tvx
