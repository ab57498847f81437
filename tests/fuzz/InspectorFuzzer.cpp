// libFuzzer target: the bytes at the caret (the first 96 of the input) through the Data
// Inspector's rows. Each integer row names the value the bytes hold in its byte order; a
// decoded character is the one its bytes begin with, in UTF-8 and in both UTF-16 orders.

#include "inspector/CharacterText.h"
#include "inspector/InspectorRows.h"
#include "platform/Utf8.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdlib>

namespace {

using tvx::fuzz::Require;

constexpr std::u16string_view kUnavailable = u"-";

// The value of "0x... / decimal", read back through both numbers.
std::uint64_t ReadBack(const std::u16string& text) {
    const std::string narrow = tvx::platform::EncodeUtf8(text);
    Require(narrow.starts_with("0x"));
    char* end = nullptr;
    const std::uint64_t hex = std::strtoull(narrow.c_str() + 2, &end, 16);
    Require(std::string_view(end).starts_with(" / "));
    const std::uint64_t decimal = std::strtoull(end + 3, &end, 10);
    Require(*end == '\0' && hex == decimal);
    return hex;
}

void CheckInteger(const tvx::InspectorValues& values, tvx::InspectorRow row, std::span<const std::uint8_t> bytes,
                  std::size_t size, bool littleEndian) {
    const std::u16string& text = values[static_cast<std::size_t>(row)];
    if (bytes.size() < size) return Require(text == kUnavailable);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes[i]} << 8 * (littleEndian ? i : size - 1 - i);
    Require(ReadBack(text) == value);
}

void CheckCharacters(std::span<const std::uint8_t> bytes) {
    if (const auto utf8 = tvx::DecodeUtf8Character(bytes)) {
        const std::string encoded = tvx::platform::EncodeUtf8(*utf8);
        const std::string_view start(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        Require(!utf8->empty() && utf8->size() <= 2 && start.starts_with(encoded));
    }
    for (const bool littleEndian : {true, false}) {
        const auto utf16 = tvx::DecodeUtf16Character(bytes, littleEndian);
        if (!utf16) continue;
        Require(!utf16->empty() && utf16->size() * 2 <= bytes.size());
        for (std::size_t i = 0; i < utf16->size(); ++i) {
            const std::uint8_t low = bytes[2 * i + (littleEndian ? 0 : 1)], high = bytes[2 * i + (littleEndian ? 1 : 0)];
            Require((*utf16)[i] == (low | high << 8));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, std::min(size, tvx::kInspectorByteCount));
    const tvx::InspectorValues values = tvx::ComputeInspectorRows(bytes, kUnavailable);
    if (bytes.empty()) {
        for (const std::u16string& text : values) Require(text == kUnavailable);
        return 0;
    }
    using Row = tvx::InspectorRow;
    CheckInteger(values, Row::UInt8, bytes, 1, true);
    CheckInteger(values, Row::UInt16Le, bytes, 2, true);
    CheckInteger(values, Row::UInt16Be, bytes, 2, false);
    CheckInteger(values, Row::UInt32Le, bytes, 4, true);
    CheckInteger(values, Row::UInt32Be, bytes, 4, false);
    CheckInteger(values, Row::UInt64Le, bytes, 8, true);
    CheckInteger(values, Row::UInt64Be, bytes, 8, false);
    for (const Row row : {Row::Utf8, Row::Utf16Le, Row::Utf16Be}) {
        const std::u16string& text = values[static_cast<std::size_t>(row)];
        Require(text == kUnavailable || text.ends_with(u")"));
    }
    CheckCharacters(bytes);
    return 0;
}
