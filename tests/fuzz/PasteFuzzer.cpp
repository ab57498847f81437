// libFuzzer target: clipboard text for a paste, and the same text typed unit by unit into the
// text column (see Input::Text). Hexadecimal text reads back from the copy format; encoded text
// decodes to itself in every encoding; a paste writes the hexadecimal bytes or else the encoded
// text; typing a well-formed text of printable characters writes the bytes pasting it would.

#include "hexview/ClipboardText.h"
#include "hexview/TypedText.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

using tvx::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = tvx::fuzz::Input(data, size).Text();
    const bool wellFormed = tvx::fuzz::LoneSurrogatesReplaced(text) == text;
    const bool ascii = std::ranges::all_of(text, [](char16_t u) { return u < 0x80; });
    const bool printable = std::ranges::all_of(text, [](char16_t u) { return u >= 0x20 && u != 0x7F; });
    const auto hex = tvx::ParseHexText(text);
    if (hex) Require(!hex->empty() && tvx::ParseHexText(tvx::fuzz::HexText(*hex)) == hex);

    for (int value = 0; value <= 4; ++value) {  // 4 lies outside the enumeration
        const auto encoding = static_cast<tvx::TextEncoding>(value);
        const auto encoded = tvx::EncodeText(text, encoding);
        if (encoding == tvx::TextEncoding::Utf8) Require(encoded.has_value() == wellFormed);
        if (value == 0 || value == 4) Require(encoded.has_value() == ascii);
        if (encoded) Require(tvx::fuzz::Decoded(*encoded, encoding) == text);

        const tvx::PasteBytes paste = tvx::BytesToPaste(text, encoding);
        if (paste.error == tvx::PasteError::None) Require(!paste.bytes.empty() && (hex ? hex : encoded) == paste.bytes);
        else Require(paste.bytes.empty() && !hex);

        tvx::TypedText typed;
        std::vector<std::uint8_t> written;
        bool allTaken = true;
        for (const char16_t unit : text) {
            const auto bytes = typed.Take(unit, encoding);
            if (bytes) written.insert(written.end(), bytes->begin(), bytes->end());
            allTaken = allTaken && bytes;
        }
        if (printable && allTaken && wellFormed) Require(encoded == written);
    }
    return 0;
}
