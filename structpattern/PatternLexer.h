#pragma once
// Turns the decoded text of a struct pattern file into tokens.

#include "structpattern/PatternToken.h"

#include <string>
#include <vector>

namespace tvx {

// On success returns the tokens, ending with exactly one End token, and leaves error untouched.
// On failure returns an empty list and sets error: "Unterminated block comment." bare, or
// "Unexpected character in definition file." at the character (FormatPatternError).
[[nodiscard]] std::vector<PatternToken> TokenizePattern(const std::u16string& text, std::u16string& error);

}  // namespace tvx
