#pragma once
// The string table file format: UTF-8 "key=value" lines.

#include <string>
#include <string_view>
#include <unordered_map>

namespace tvx {

// Key (ASCII) to text.
using StringTableEntries = std::unordered_map<std::string, std::u16string>;

// Parses a string table file's bytes. Lines end at a line feed. A line is skipped when it
// is empty, starts with "#" or holds no "="; otherwise the text before the first "=" is
// the key and the rest the value, both trimmed of spaces, tabs, CR and LF. Key characters
// above 127 become "?". The first occurrence of a key wins. Nothing is unescaped; a byte
// order mark stays part of the first line. Ill-formed UTF-8 decodes as U+FFFD and costs
// no other line.
[[nodiscard]] StringTableEntries ParseStringTable(std::string_view bytes);

}  // namespace tvx
