#include "tools/tavro-cli/Arguments.h"

#include <limits>

namespace tvx::cli {
namespace {

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::uint64_t> ParseHexNumber(std::u16string_view text) {
    if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text.remove_prefix(2);
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::optional<std::uint64_t> ParseDecimal(std::u16string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - u'0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::u16string_view text) {
    if (text.empty() || text.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigitValue(text[i]), low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::optional<TextEncoding> ParseEncodingName(std::u16string_view text) {
    if (text == u"ascii") return TextEncoding::Ascii;
    if (text == u"utf8") return TextEncoding::Utf8;
    if (text == u"utf16le") return TextEncoding::Utf16Le;
    if (text == u"utf16be") return TextEncoding::Utf16Be;
    return std::nullopt;
}

}  // namespace tvx::cli
