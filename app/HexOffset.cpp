#include "app/HexOffset.h"

namespace tvx {
namespace {

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool StartsWithHexPrefix(std::u16string_view text) {
    return text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
}

// White space as the C library's wide conversion skips it.
bool IsConversionSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

std::optional<std::uint64_t> ParseHexOffset(std::u16string_view text) {
    constexpr std::u16string_view kBlanks = u" \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::u16string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    if (StartsWithHexPrefix(text)) text.remove_prefix(2);
    if (text.empty()) return std::nullopt;

    // The conversion proper.
    std::size_t i = 0;
    while (i < text.size() && IsConversionSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    // A prefix counts only when a digit follows it; otherwise the "0" is the number.
    if (StartsWithHexPrefix(text.substr(i)) && i + 2 < text.size() && HexDigitValue(text[i + 2]) >= 0) i += 2;
    const std::size_t digitsStart = i;
    std::uint64_t value = 0;
    for (; i < text.size() && HexDigitValue(text[i]) >= 0; ++i) {
        if (value >> 60 != 0) return std::nullopt;  // overflow
        value = value << 4 | static_cast<std::uint64_t>(HexDigitValue(text[i]));
    }
    if (i == digitsStart || i != text.size()) return std::nullopt;
    return negative ? ~value + 1 : value;
}

std::u16string FormatHexOffset(std::uint64_t offset) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[offset & 0xF]);
        offset >>= 4;
    } while (offset != 0);
    return text;
}

}  // namespace tvx
