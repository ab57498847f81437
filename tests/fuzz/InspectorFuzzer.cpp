// libFuzzer target: the bytes at the caret (the first 96 of the input) through the Data
// Inspector's rows. Each integer row names the value the bytes hold in its byte order, in
// hexadecimal of its width and in decimal; a character row describes the character its bytes
// begin with, in UTF-8 and in both UTF-16 orders, if there is one; with no bytes every row is
// unavailable.

#include "inspector/CharacterText.h"
#include "inspector/InspectorRows.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

using tvx::fuzz::Require;
using Row = tvx::InspectorRow;

constexpr std::u16string_view kUnavailable = u"-";
// The unsigned integer rows: how many bytes each reads, and whether the first is the lowest.
constexpr std::tuple<Row, std::size_t, bool> kIntegerRows[] = {
    {Row::UInt8, 1, true},     {Row::UInt16Le, 2, true}, {Row::UInt16Be, 2, false}, {Row::UInt32Le, 4, true},
    {Row::UInt32Be, 4, false}, {Row::UInt64Le, 8, true}, {Row::UInt64Be, 8, false}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, std::min(size, tvx::kInspectorByteCount));
    const tvx::InspectorValues values = tvx::ComputeInspectorRows(bytes, kUnavailable);
    const auto text = [&](Row row) -> const std::u16string& { return values[static_cast<std::size_t>(row)]; };
    if (bytes.empty()) Require(text(Row::Binary) == kUnavailable);
    for (const auto& [row, width, littleEndian] : kIntegerRows) {
        unsigned long long value = 0;
        for (std::size_t i = 0; i < width && width <= bytes.size(); ++i)
            value |= static_cast<unsigned long long>(bytes[i]) << 8 * (littleEndian ? i : width - 1 - i);
        char expected[48];
        std::snprintf(expected, sizeof expected, "0x%0*llX / %llu", static_cast<int>(2 * width), value, value);
        Require(bytes.size() < width ? text(row) == kUnavailable : tvx::platform::EncodeUtf8(text(row)) == expected);
    }
    const std::string_view start(reinterpret_cast<const char*>(data), bytes.size());
    for (const Row row : {Row::Utf8, Row::Utf16Le, Row::Utf16Be}) {
        const bool utf8 = row == Row::Utf8, littleEndian = row == Row::Utf16Le;
        const auto character = utf8 ? tvx::DecodeUtf8Character(bytes) : tvx::DecodeUtf16Character(bytes, littleEndian);
        Require(character ? text(row).ends_with(u")") : text(row) == kUnavailable);
        if (!character) continue;
        Require(!character->empty() && character->size() <= 2);
        if (utf8) Require(start.starts_with(tvx::platform::EncodeUtf8(*character)));
        else Require(tvx::fuzz::AsUnits(start.substr(0, 2 * character->size()), littleEndian) == *character);
    }
    return 0;
}
