#include "hexview/TypedText.h"

#include "hexview/ClipboardText.h"
#include "hexview/Utf16Units.h"

#include <string>

namespace tvx {

std::optional<std::vector<std::uint8_t>> TypedText::Take(char16_t unit, TextEncoding encoding) {
    const char16_t high = highSurrogate_;
    highSurrogate_ = 0;
    if (unit < 0x20 || unit == 0x7F) return std::nullopt;
    if (encoding != TextEncoding::Utf8 && encoding != TextEncoding::Utf16Le && encoding != TextEncoding::Utf16Be)
        return unit <= 0x7E ? std::optional(std::vector<std::uint8_t>{static_cast<std::uint8_t>(unit)}) : std::nullopt;
    if (IsHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return std::vector<std::uint8_t>{};
    }
    std::u16string character;
    if (high != 0) character.push_back(high);
    character.push_back(unit);
    return EncodeText(character, encoding);  // a lone low surrogate fails in UTF-8
}

}  // namespace tvx
