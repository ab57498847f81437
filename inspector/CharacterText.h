#pragma once
// The inspector's character rows: the first character of the bytes in UTF-8 and UTF-16, and
// its description.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tvx {

// The UTF-16 text (one unit or a surrogate pair) of the UTF-8 sequence the bytes begin with.
// Nothing for a zero byte, a byte that cannot begin a sequence, a truncated sequence, a byte
// that does not continue it, and what MultiByteToWideChar refuses (overlong forms, encoded
// surrogates, values above U+10FFFF).
[[nodiscard]] std::optional<std::u16string> DecodeUtf8Character(std::span<const std::uint8_t> bytes);

// The first character of the bytes read as UTF-16 in the given byte order: one unit or a
// surrogate pair. Nothing for fewer than 2 bytes, when the first 32 bytes do not pass the
// platform's plausibility test for UTF-16 text, for the unit 0 and for a lone surrogate.
[[nodiscard]] std::optional<std::u16string> DecodeUtf16Character(std::span<const std::uint8_t> bytes,
                                                                   bool littleEndian);

// The character's name ("CR", "TAB", "LF", "VT", "FF", "Space", "NEL", "NBSP", "Ideographic
// Space"), or else the text itself, then " (U+", its code point in capital hexadecimal with at
// least 4 digits, and ")". Control characters without a name stay raw. An empty text, or one
// that begins with a lone surrogate, is returned unchanged.
[[nodiscard]] std::u16string DescribeCharacter(std::u16string_view text);

}  // namespace tvx
