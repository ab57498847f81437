#pragma once
// The grammar of struct pattern files: directives, struct definitions and typedefs.
//
// Every operation works on one ParseState and returns false on failure with the complete error
// text in state.error. Keywords and type names compare by NormalizeTypeName; member names as
// written.

#include "structpattern/ParseState.h"

#include <cstddef>
#include <string>

namespace tvx {

// One top-level item: "@" directive, "typedef ..." or "struct ...".
[[nodiscard]] bool ParseTopLevel(ParseState& state);
// "@" name value. Sizes and alignment take a decimal number, "entry" a struct name.
[[nodiscard]] bool ParseDirective(ParseState& state);
// "typedef" followed by a struct form or by a declaration and ";".
[[nodiscard]] bool ParseTypedef(ParseState& state);
// "struct" [tag] "{" members "}" [alias] ";"; with allowTypedefForm also "struct" tag alias ";".
[[nodiscard]] bool ParseStructDeclaration(ParseState& state, bool allowTypedefForm);
// The members up to and including "}"; the cursor stands just past "{".
[[nodiscard]] bool ParseStructBody(ParseState& state, StructDecl& decl);

// Advances past the current token if it is an identifier equal to keyword once normalized.
[[nodiscard]] bool MatchKeyword(ParseState& state, const std::u16string& keyword);

// Enters name (and "struct " + name) into the struct-name table. An empty name, or a name that
// already denotes this very struct (the alias of "typedef struct Foo {...} Foo;"), changes
// nothing; a name already used by another struct fails.
[[nodiscard]] bool RegisterStructName(ParseState& state, const std::u16string& name, std::size_t index);
// Enters name into the typedef table; an empty name changes nothing, a duplicate fails.
[[nodiscard]] bool RegisterTypedefName(ParseState& state, const std::u16string& name, const TypeRef& type);

}  // namespace tvx
