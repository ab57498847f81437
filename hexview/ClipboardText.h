#pragma once
// Text from the clipboard, or typed into the text column, as the bytes it stands for.

#include "settings/Enums.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tvx {

// The value of one hexadecimal digit, either case.
[[nodiscard]] std::optional<std::uint8_t> HexDigitValue(char16_t c) noexcept;

// Hexadecimal bytes as copying writes them ("00 0A FF"), also without spaces, across lines
// and with an optional "0x" before each byte; nullopt for anything else, including text of
// white space only.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ParseHexText(std::u16string_view text);

// The text's bytes in encoding: ASCII only when every character is below 0x80, UTF-8 only
// without unpaired surrogates (nullopt otherwise), UTF-16 as its code units.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> EncodeText(std::u16string_view text, TextEncoding encoding);

enum class PasteError { None, Empty, NotEncodable };

struct PasteBytes {
    std::vector<std::uint8_t> bytes;
    PasteError error = PasteError::None;
};

// What a paste writes: hexadecimal text as its bytes, any other text encoded.
[[nodiscard]] PasteBytes BytesToPaste(std::u16string_view text, TextEncoding encoding);

}  // namespace tvx
