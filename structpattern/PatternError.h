#pragma once
// The error text every stage of the pattern language uses to point at a place in the file.

#include <cstdint>
#include <string>

namespace tvx {

// "Line L, Col C: message", then (when line L of source is not empty) CR LF, that line as
// stored, CR LF and a caret under column C. source is the whole text that was tokenized.
[[nodiscard]] std::u16string FormatPatternError(const std::u16string& source, std::uint32_t line,
                                                std::uint32_t column, const std::u16string& message);

}  // namespace tvx
