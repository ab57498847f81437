#pragma once
// One token of a struct pattern file.

#include <cstdint>
#include <string>

namespace tvx {

enum class PatternTokenKind : std::uint32_t { Identifier = 0, Number = 1, Punctuation = 2, End = 3 };

struct PatternToken {
    PatternTokenKind kind = PatternTokenKind::End;
    std::u16string text;     // exactly as written; one character for Punctuation; empty for End
    std::uint32_t line = 1;  // 1-based position of the first character; a carriage return
    std::uint32_t column = 1;  // does not count, every other UTF-16 code unit counts one column
};

}  // namespace tvx
