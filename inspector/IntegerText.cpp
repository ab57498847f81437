#include "inspector/IntegerText.h"

#include <algorithm>
#include <cstdio>

namespace tvx {
namespace {

std::u16string Widen(const char* ascii) { return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii)); }

}  // namespace

std::u16string FormatPrefixedHex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", std::clamp(digits, 0, 16), static_cast<unsigned long long>(value));
    return Widen(text);
}

std::u16string FormatHexAndDecimal(std::uint64_t value, int digits) {
    char decimal[24];
    std::snprintf(decimal, sizeof decimal, " / %llu", static_cast<unsigned long long>(value));
    return FormatPrefixedHex(value, digits) + Widen(decimal);
}

}  // namespace tvx
