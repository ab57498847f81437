#include "structpattern/ValueText.h"

#include "structpattern/NumberText.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace tvx {
namespace {

std::uint64_t AssembleUnsigned(const std::uint8_t* bytes, std::size_t n, ByteOrder byteOrder) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t byte = byteOrder == ByteOrder::Little ? bytes[i] : bytes[n - 1 - i];
        value |= static_cast<std::uint64_t>(byte) << (8 * i);
    }
    return value;
}

// printf's "%g": six significant digits, locale-independent.
template <typename Float>
std::u16string GeneralText(Float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::u16string(buffer, result.ptr);
}

}  // namespace

std::u16string FormatIntegerValue(const std::uint8_t* bytes, std::size_t n, ByteOrder byteOrder,
                                  NumericBase numericBase) {
    if (n == 0) return {};
    if (n > 8) return u"0x" + FormatHexBytes(bytes, n);
    const std::uint64_t value = AssembleUnsigned(bytes, n, byteOrder);
    if (numericBase == NumericBase::Dec) return DecimalText(value);
    return u"0x" + HexText(value, static_cast<int>(2 * n));
}

std::u16string FormatFloatValue(const std::uint8_t* bytes, std::size_t n, FieldKind kind,
                                const StructValueFormat& format) {
    std::u16string text;
    if (kind == FieldKind::Float && n == 4) {
        text = GeneralText(std::bit_cast<float>(static_cast<std::uint32_t>(AssembleUnsigned(bytes, 4, format.byteOrder))));
    } else if (kind == FieldKind::Double && n == 8) {
        text = GeneralText(std::bit_cast<double>(AssembleUnsigned(bytes, 8, format.byteOrder)));
    } else {
        return FormatIntegerValue(bytes, n, format.byteOrder, format.numericBase);
    }
    return text + u" (" + FormatIntegerValue(bytes, n, format.byteOrder, NumericBase::Hex) + u")";
}

std::u16string FormatHexBytes(const std::uint8_t* bytes, std::size_t n) {
    std::u16string text;
    text.reserve(n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        if (i != 0) text += u' ';
        text += HexText(bytes[i], 2);
    }
    return text;
}

std::u16string FormatByteArray(const std::uint8_t* bytes, std::size_t n) {
    constexpr std::size_t kShown = 16;
    if (n == 0) return u"0 bytes";
    if (n <= kShown) return FormatHexBytes(bytes, n);
    return FormatHexBytes(bytes, kShown) + u" ...";
}

std::u16string FormatCharArray(const std::uint8_t* bytes, std::size_t n) {
    constexpr std::size_t kMaxChars = 64;
    if (n == 0) return u"0 bytes";
    std::u16string text = u"\"";
    bool cut = false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t byte = bytes[i];
        if (byte == 0) break;
        if (byte < 0x20 || byte > 0x7E || i == kMaxChars) {
            cut = true;
            break;
        }
        text += static_cast<char16_t>(byte);
    }
    if (cut) text += u"...";
    text += u'"';
    return text;
}

std::u16string FormatOffsetText(std::uint64_t base, std::uint64_t offset) {
    const std::uint64_t sum = base + offset;
    if (sum < base) return u"0x1" + HexText(sum, 16);
    return u"0x" + HexText(sum);
}

}  // namespace tvx
