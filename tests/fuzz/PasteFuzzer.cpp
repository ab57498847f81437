// libFuzzer target: clipboard text for a paste, and the same text typed unit by unit into the
// text column (see Input::Text). Hexadecimal text reads back from the copy format; encoded text
// decodes to itself in every encoding; a paste writes the hexadecimal bytes or else the encoded
// text; typing a well-formed text of printable characters writes the bytes pasting it would.

#include "hexview/ClipboardText.h"
#include "hexview/TypedText.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

void tvx::fuzz::TestOneInput(Input input) {
    const std::u16string text = input.Text();
    const bool wellFormed = LoneSurrogatesReplaced(text) == text;
    const bool ascii = std::ranges::all_of(text, [](char16_t u) { return u < 0x80; });
    const bool printable = std::ranges::all_of(text, [](char16_t u) { return u >= 0x20 && u != 0x7F; });
    const auto hex = ParseHexText(text);
    if (hex) Require(!hex->empty() && ParseHexText(HexText(*hex)) == hex);

    for (int value = 0; value <= 4; ++value) {  // 4 lies outside the enumeration
        const auto encoding = static_cast<TextEncoding>(value);
        const auto encoded = EncodeText(text, encoding);
        if (encoding == TextEncoding::Utf8) Require(encoded.has_value() == wellFormed);
        if (value == 0 || value == 4) Require(encoded.has_value() == ascii);
        if (encoded) Require(Decoded(*encoded, encoding) == text);

        const PasteBytes paste = BytesToPaste(text, encoding);
        if (paste.error == PasteError::None) Require(!paste.bytes.empty() && (hex ? hex : encoded) == paste.bytes);
        else Require(paste.bytes.empty() && !hex);

        TypedText typed;
        std::vector<std::uint8_t> written;
        bool allTaken = true;
        for (const char16_t unit : text) {
            const auto bytes = typed.Take(unit, encoding);
            if (bytes) written.insert(written.end(), bytes->begin(), bytes->end());
            allTaken = allTaken && bytes;
        }
        if (printable && allTaken && wellFormed) Require(encoded == written);
    }
}
