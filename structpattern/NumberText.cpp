#include "structpattern/NumberText.h"

#include <algorithm>
#include <limits>

namespace tvx {

std::u16string DecimalText(std::uint64_t value) {
    char16_t buffer[20];
    int length = 0;
    do {
        buffer[length++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::reverse(buffer, buffer + length);
    return std::u16string(buffer, static_cast<std::size_t>(length));
}

std::u16string HexText(std::uint64_t value, int minDigits) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    char16_t buffer[16];
    int length = 0;
    do {
        buffer[length++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    std::u16string text(minDigits > length ? static_cast<std::size_t>(minDigits - length) : 0, u'0');
    while (length > 0) text.push_back(buffer[--length]);
    return text;
}

bool ParseDecimal(const std::u16string& digits, std::uint64_t& value) noexcept {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (digits.empty()) return false;
    std::uint64_t result = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - u'0');
        if (result > (kMax - digit) / 10) return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

}  // namespace tvx
