#include "inspector/InspectorRows.h"

#include "inspector/CharacterText.h"
#include "inspector/IntegerText.h"

#include <optional>

namespace tvx {
namespace {

// The first `size` bytes as an unsigned integer, or nothing when there are fewer.
std::optional<std::uint64_t> ReadUnsigned(std::span<const std::uint8_t> bytes, std::size_t size, bool littleEndian) {
    if (bytes.size() < size) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = value << 8 | bytes[littleEndian ? size - 1 - i : i];
    return value;
}

std::u16string BinaryText(std::uint8_t byte) {
    std::u16string text = u"0b";
    for (int bit = 7; bit >= 0; --bit) {
        text += (byte >> bit & 1) ? u'1' : u'0';
        if (bit == 4) text += u'_';
    }
    return text;
}

}  // namespace

InspectorValues ComputeInspectorRows(std::span<const std::uint8_t> bytes, std::u16string_view unavailable) {
    InspectorValues values;
    values.fill(std::u16string(unavailable));
    if (bytes.empty()) return values;
    const auto at = [&values](InspectorRow row) -> std::u16string& { return values[static_cast<std::size_t>(row)]; };
    const auto integer = [&](InspectorRow row, std::size_t size, bool littleEndian) {
        if (const auto value = ReadUnsigned(bytes, size, littleEndian))
            at(row) = FormatHexAndDecimal(*value, static_cast<int>(2 * size));
    };
    const auto character = [&](InspectorRow row, const std::optional<std::u16string>& decoded) {
        if (decoded) at(row) = DescribeCharacter(*decoded);
    };

    at(InspectorRow::Binary) = BinaryText(bytes[0]);
    integer(InspectorRow::UInt8, 1, true);
    integer(InspectorRow::UInt16Le, 2, true);
    integer(InspectorRow::UInt16Be, 2, false);
    integer(InspectorRow::UInt32Le, 4, true);
    integer(InspectorRow::UInt32Be, 4, false);
    integer(InspectorRow::UInt64Le, 8, true);
    integer(InspectorRow::UInt64Be, 8, false);
    character(InspectorRow::Utf8, DecodeUtf8Character(bytes));
    character(InspectorRow::Utf16Le, DecodeUtf16Character(bytes, true));
    character(InspectorRow::Utf16Be, DecodeUtf16Character(bytes, false));
    return values;
}

}  // namespace tvx
