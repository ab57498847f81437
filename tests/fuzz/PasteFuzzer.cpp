// libFuzzer target: clipboard text for a paste, and the same text typed unit by unit into the
// text column (the first byte chooses UTF-8 or raw units, see TextFrom). Hexadecimal text reads
// back from the copy format; encoded text decodes to itself in every encoding; a paste writes
// the hexadecimal bytes or else the encoded text; typing a text of printable characters writes
// the bytes pasting it would.

#include "hexview/ClipboardText.h"
#include "hexview/TypedText.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

namespace {

using tvx::fuzz::Require;
using Bytes = std::vector<std::uint8_t>;

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

bool HasUnpairedSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (IsSurrogate(text[i]))
            return true;
    }
    return false;
}

std::u16string Decoded(const Bytes& bytes, tvx::TextEncoding encoding) {
    const std::string raw(bytes.begin(), bytes.end());
    std::u16string text;
    switch (encoding) {
    case tvx::TextEncoding::Utf8: Require(tvx::platform::DecodeUtf8Strict(raw, text) || raw.empty()); return text;
    case tvx::TextEncoding::Utf16Le: return tvx::fuzz::AsUnits(raw);
    case tvx::TextEncoding::Utf16Be: return tvx::fuzz::AsUnits(raw, false);
    default: return std::u16string(raw.begin(), raw.end());
    }
}

void CheckTyping(std::u16string_view text, tvx::TextEncoding encoding, const std::optional<Bytes>& encoded) {
    tvx::TypedText typed;
    Bytes written;
    bool allTaken = true;
    for (const char16_t unit : text) {
        const auto bytes = typed.Take(unit, encoding);
        if (!bytes) allTaken = false;
        if (bytes) written.insert(written.end(), bytes->begin(), bytes->end());
    }
    const bool printable = std::all_of(text.begin(), text.end(), [](char16_t u) { return u >= 0x20 && u != 0x7F; });
    if (printable && allTaken && !HasUnpairedSurrogate(text)) Require(encoded && written == *encoded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::fuzz::Input input(data, size);
    const std::u16string text = tvx::fuzz::TextFrom(input);

    const auto hex = tvx::ParseHexText(text);
    if (hex) Require(!hex->empty() && tvx::ParseHexText(tvx::fuzz::HexText(*hex)) == hex);
    for (int value = 0; value <= 4; ++value) {  // 4 lies outside the enumeration
        const auto encoding = static_cast<tvx::TextEncoding>(value);
        const auto encoded = tvx::EncodeText(text, encoding);
        const bool ascii = std::all_of(text.begin(), text.end(), [](char16_t u) { return u < 0x80; });
        if (encoding == tvx::TextEncoding::Utf8) Require(encoded.has_value() == !HasUnpairedSurrogate(text));
        if (value == 0 || value == 4) Require(encoded.has_value() == ascii);
        if (encoded) Require(Decoded(*encoded, encoding) == text);

        const tvx::PasteBytes paste = tvx::BytesToPaste(text, encoding);
        if (paste.error == tvx::PasteError::None) Require(!paste.bytes.empty() && paste.bytes == (hex ? *hex : *encoded));
        else Require(paste.bytes.empty() && !(hex && !hex->empty()));
        CheckTyping(text, encoding, encoded);
    }
    return 0;
}
