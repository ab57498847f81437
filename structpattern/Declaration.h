#pragma once
// One declaration: type words and "*" tokens, a name, optionally "[count]" or "[]".

#include "structpattern/ParseState.h"
#include "structpattern/PatternToken.h"

#include <cstdint>
#include <span>
#include <string>

namespace tvx {

struct Declaration {
    TypeRef type;
    std::u16string name;
    std::uint64_t count = 1;
    bool flexible = false;
};

// Reads the tokens of one declaration (without its ";"). On failure returns false with the
// bare message; the caller adds the position of the declaration's first token.
[[nodiscard]] bool ParseDeclaration(std::span<const PatternToken> tokens, Declaration& declaration,
                                    std::u16string& message);

}  // namespace tvx
