#include "search/SearchQuery.h"

#include "platform/Utf8.h"

namespace tvx {
namespace {

// Unicode white space, so that an ideographic space typed by an input method separates bytes
// like any other.
bool IsWhiteSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<SearchPattern> ParseHexQuery(std::u16string_view text) {
    std::u16string digits;
    for (char16_t c : text)
        if (!IsWhiteSpace(c)) digits += c;
    if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;

    SearchPattern pattern;
    pattern.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        // Exactly two digits: a sign or "0x" prefix is not a byte.
        const int high = HexDigitValue(digits[i]), low = HexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        pattern.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return pattern;
}

std::optional<SearchPattern> EncodeTextQuery(std::u16string_view text, TextEncoding encoding) {
    if (text.empty()) return std::nullopt;
    SearchPattern pattern;
    switch (encoding) {
    case TextEncoding::Ascii:
        for (char16_t unit : text) {
            if (unit > 127) return std::nullopt;
            pattern.push_back(static_cast<std::uint8_t>(unit));
        }
        return pattern;
    case TextEncoding::Utf8: {
        const std::string utf8 = platform::EncodeUtf8(text);
        if (utf8.empty()) return std::nullopt;
        return SearchPattern(utf8.begin(), utf8.end());
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        for (char16_t unit : text) {
            const auto low = static_cast<std::uint8_t>(unit & 0xFF), high = static_cast<std::uint8_t>(unit >> 8);
            pattern.push_back(encoding == TextEncoding::Utf16Le ? low : high);
            pattern.push_back(encoding == TextEncoding::Utf16Le ? high : low);
        }
        return pattern;
    }
    return std::nullopt;
}

std::u16string_view TrimSearchQuery(std::u16string_view text) {
    constexpr std::u16string_view kBlanks = u" \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace tvx
