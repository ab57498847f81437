#include "structpattern/TypeNames.h"

#include "structpattern/CharClass.h"

namespace tvx {
namespace {

bool IsTrimmed(char16_t c) noexcept { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

std::u16string NormalizeTypeName(std::u16string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(text[first])) ++first;
    while (last > first && IsTrimmed(text[last - 1])) --last;

    std::u16string result;
    result.reserve(last - first);
    bool folded = false;
    for (std::size_t i = first; i < last; ++i) {
        const char16_t c = text[i];
        if (IsPatternSpace(c)) {
            if (!folded) result.push_back(u' ');
            folded = true;
        } else {
            result.push_back(ToPatternLower(c));
            folded = false;
        }
    }
    return result;
}

bool IdentifierEquals(std::u16string_view identifier, std::u16string_view normalized) noexcept {
    if (identifier.size() != normalized.size()) return false;
    for (std::size_t i = 0; i < identifier.size(); ++i) {
        if (ToPatternLower(identifier[i]) != normalized[i]) return false;
    }
    return true;
}

std::optional<std::uint64_t> BuiltinTypeSize(const ParseState& state, std::u16string_view name) {
    struct Builtin {
        std::u16string_view name;
        std::uint64_t fixedSize;                 // used when field is null
        std::uint64_t ParseState::*field;
    };
    static constexpr Builtin kBuiltins[] = {
        {u"char", 1, nullptr},
        {u"signed char", 1, nullptr},
        {u"unsigned char", 1, nullptr},
        {u"int8_t", 1, nullptr},
        {u"uint8_t", 1, nullptr},
        {u"short", 0, &ParseState::sizeof_short},
        {u"signed short", 0, &ParseState::sizeof_short},
        {u"unsigned short", 0, &ParseState::sizeof_short},
        {u"int16_t", 2, nullptr},
        {u"uint16_t", 2, nullptr},
        {u"int", 0, &ParseState::sizeof_int},
        {u"signed int", 0, &ParseState::sizeof_int},
        {u"unsigned int", 0, &ParseState::sizeof_int},
        {u"int32_t", 4, nullptr},
        {u"uint32_t", 4, nullptr},
        {u"long", 0, &ParseState::sizeof_long},
        {u"signed long", 0, &ParseState::sizeof_long},
        {u"unsigned long", 0, &ParseState::sizeof_long},
        {u"long long", 0, &ParseState::sizeof_long_long},
        {u"signed long long", 0, &ParseState::sizeof_long_long},
        {u"unsigned long long", 0, &ParseState::sizeof_long_long},
        {u"int64_t", 8, nullptr},
        {u"uint64_t", 8, nullptr},
        {u"float", 0, &ParseState::sizeof_float},
        {u"double", 0, &ParseState::sizeof_double},
        {u"void", 0, nullptr},
    };
    for (const Builtin& builtin : kBuiltins) {
        if (builtin.name == name) return builtin.field != nullptr ? state.*builtin.field : builtin.fixedSize;
    }
    return std::nullopt;
}

bool IsCharTypeName(std::u16string_view normalized) noexcept {
    return normalized == u"char" || normalized == u"signed char" || normalized == u"unsigned char" ||
           normalized == u"int8_t" || normalized == u"uint8_t";
}

}  // namespace tvx
