// libFuzzer target: the Data Inspector's rows over the first 96 bytes of the input. Each integer
// row names the value its bytes hold, in hexadecimal of its width and in decimal; a character row
// describes the character its bytes begin with, if there is one; with no bytes no row has a value.

#include "inspector/CharacterText.h"
#include "inspector/InspectorRows.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <tuple>

void tvx::fuzz::TestOneInput(Input input) {
    using Row = InspectorRow;
    constexpr std::u16string_view kUnavailable = u"-";
    // The unsigned integer rows: how many bytes each reads, and whether the first is the lowest.
    constexpr std::tuple<Row, std::size_t, bool> kIntegerRows[] = {
        {Row::UInt8, 1, true},     {Row::UInt16Le, 2, true}, {Row::UInt16Be, 2, false}, {Row::UInt32Le, 4, true},
        {Row::UInt32Be, 4, false}, {Row::UInt64Le, 8, true}, {Row::UInt64Be, 8, false}};

    const std::string_view start = input.Rest().substr(0, kInspectorByteCount);
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(start.data()), start.size());
    const InspectorValues values = ComputeInspectorRows(bytes, kUnavailable);
    const auto text = [&](Row row) -> const std::u16string& { return values[static_cast<std::size_t>(row)]; };
    if (bytes.empty()) Require(text(Row::Binary) == kUnavailable);
    for (const auto& [row, width, littleEndian] : kIntegerRows) {
        unsigned long long value = 0;
        for (std::size_t i = 0; i < width && width <= bytes.size(); ++i)
            value |= static_cast<unsigned long long>(bytes[i]) << 8 * (littleEndian ? i : width - 1 - i);
        char expected[48];
        std::snprintf(expected, sizeof expected, "0x%0*llX / %llu", static_cast<int>(2 * width), value, value);
        Require(bytes.size() < width ? text(row) == kUnavailable : platform::EncodeUtf8(text(row)) == expected);
    }
    for (const Row row : {Row::Utf8, Row::Utf16Le, Row::Utf16Be}) {
        const bool utf8 = row == Row::Utf8, littleEndian = row == Row::Utf16Le;
        const auto character = utf8 ? DecodeUtf8Character(bytes) : DecodeUtf16Character(bytes, littleEndian);
        Require(character ? text(row).ends_with(u")") : text(row) == kUnavailable);
        if (!character) continue;
        Require(!character->empty() && character->size() <= 2);
        if (utf8) Require(start.starts_with(platform::EncodeUtf8(*character)));
        else Require(AsUnits(start.substr(0, 2 * character->size()), littleEndian) == *character);
    }
}
