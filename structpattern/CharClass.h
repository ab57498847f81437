#pragma once
// Character classes of the struct pattern language.
//
// The C library's wide classification depends on the platform and the current locale, so a
// pattern that loads on one machine could fail on another. These functions give one verdict
// everywhere. The accepted characters, in one place:
// - space: U+0009..U+000D, U+0020, U+0085, U+00A0, U+1680, U+2000..U+200A, U+2028, U+2029,
//   U+202F, U+205F, U+3000 (the ideographic space of Japanese input methods);
// - digit: "0".."9" only;
// - letter: ASCII letters; Latin-1 letters U+00C0..U+00FF except U+00D7 and U+00F7; Greek
//   U+0386..U+03CE; Cyrillic U+0400..U+045F; Hiragana U+3041..U+3096; Katakana U+30A1..U+30FA
//   and the prolonged sound mark U+30FC; CJK ideographs U+3400..U+4DBF and U+4E00..U+9FFF;
//   Hangul syllables U+AC00..U+D7A3. Surrogates never count: characters outside the Basic
//   Multilingual Plane are not letters;
// - lower case: ASCII, Latin-1 (U+00C0..U+00DE except U+00D7), Greek U+0386..U+03AB and
//   Cyrillic U+0400..U+042F map to their small letters; every other character maps to itself.

namespace tvx {

[[nodiscard]] bool IsPatternSpace(char16_t c) noexcept;
[[nodiscard]] bool IsPatternDigit(char16_t c) noexcept;
[[nodiscard]] bool IsPatternLetter(char16_t c) noexcept;
[[nodiscard]] bool IsPatternLetterOrDigit(char16_t c) noexcept;
[[nodiscard]] char16_t ToPatternLower(char16_t c) noexcept;

}  // namespace tvx
