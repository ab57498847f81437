#pragma once
// What the parser learns from one struct pattern file, read afterwards by the layout.

#include "structpattern/PatternToken.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tvx {

// A reference to a type: a member's type or a typedef's target.
struct TypeRef {
    std::u16string typeText;        // the type words as written, joined by single blanks
    std::u16string normalizedType;  // NormalizeTypeName(typeText)
    std::uint32_t pointerDepth = 0; // number of "*" tokens
};

struct MemberDecl {
    std::u16string name;  // as written
    TypeRef type;
    std::uint64_t count = 1;  // 1 plain, n for "[n]", 0 for "[]" (and for "[0]")
    bool flexible = false;    // written "[]"
    std::uint32_t line = 1;   // position of the member's first token
    std::uint32_t column = 1;
};

struct StructDecl {
    std::u16string tagName;    // possibly empty
    std::u16string aliasName;  // possibly empty
    std::vector<MemberDecl> members;
};

// One per load. The field names of the eight directive values are the directives' own names.
struct ParseState {
    std::vector<PatternToken> tokens;  // ends with the End token
    std::uint64_t cursor = 0;          // never leaves the list
    std::u16string source;             // for error excerpts only

    std::uint64_t sizeof_short = 2;
    std::uint64_t sizeof_int = 4;
    std::uint64_t sizeof_long = 8;
    std::uint64_t sizeof_long_long = 8;
    std::uint64_t sizeof_float = 4;
    std::uint64_t sizeof_double = 8;
    std::uint64_t pointer_size = 8;
    std::uint64_t member_align = 8;  // 0 packed, 4 or 8

    bool entryGiven = false;
    std::u16string entryName;  // as written; "struct " + name when the directive said "struct"

    std::vector<StructDecl> structs;  // file order; the position is the struct's index
    std::unordered_map<std::u16string, TypeRef> typedefs;           // normalized name -> target
    std::unordered_map<std::u16string, std::size_t> structNames;    // normalized name -> index
    std::u16string error;  // the complete text of the first failure
};

}  // namespace tvx
