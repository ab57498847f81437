#pragma once
// The tolerant key scanner behind the settings reader, and the string escaping of the writer.
// Not a JSON parser: each lookup takes the first occurrence of a quoted key, followed by a
// colon, at or after its starting position, and converts the value behind it. A value of
// the wrong type, or one cut off by the end of the text, fails its lookup. Every operation
// runs in time linear in the text's length, however the text is nested or garbled.

#include "settings/AppSettings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// Escapes UTF-8 bytes for a JSON string: \b \t \n \f \r \" \\ and \u00XX for the other
// bytes below 32; everything else (the solidus, 127, multi-byte sequences) stays as it is.
[[nodiscard]] std::string EscapeJsonString(std::string_view utf8);

// The string value of key, unescaped (\b \f \n \r \t, \uXXXX including surrogate pairs,
// any other escaped byte literally), as UTF-8 bytes.
[[nodiscard]] std::optional<std::string> ReadStringValue(std::string_view text, std::string_view key,
                                                         std::size_t from);

// The literal true or false behind key.
[[nodiscard]] std::optional<bool> ReadBoolValue(std::string_view text, std::string_view key, std::size_t from);

// The number behind key: the longest run of digits, "+", "-" and "." (no exponent),
// converted as strtof does in the classic locale; fails for no number or one out of range.
[[nodiscard]] std::optional<float> ReadFloatValue(std::string_view text, std::string_view key,
                                                  std::size_t from);

// The position of the "{" that opens key's object, when its matching "}" exists.
[[nodiscard]] std::optional<std::size_t> FindObjectStart(std::string_view text, std::string_view key,
                                                         std::size_t from);

// The first maxCount complete strings of key's array, as UTF-16; brackets inside strings
// do not count. A string not closed before the array's end ends the list. Empty when the
// key, or a closed array behind it, is missing.
[[nodiscard]] std::vector<std::u16string> ReadStringArray(std::string_view text, std::string_view key,
                                                          std::size_t maxCount);

// The first maxCount objects of the "searchHistory" array that hold both "kind" and
// "query" strings.
[[nodiscard]] std::vector<SearchHistoryEntry> ReadSearchHistory(std::string_view text, std::size_t maxCount);

}  // namespace tvx
