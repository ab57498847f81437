#pragma once
// The Data Inspector's values: the bytes at the caret read in eleven ways.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tvx {

// The rows in display order. b0 is the byte at the caret, b1 the next, and so on.
enum class InspectorRow : int {
    Binary,    // "0b" and the bits of b0, "0b0100_0001"
    UInt8,     // b0
    UInt16Le,  // unsigned integers in both byte orders, hexadecimal and decimal
    UInt16Be,
    UInt32Le,
    UInt32Be,
    UInt64Le,
    UInt64Be,
    Utf8,      // the first character, described ("A (U+0041)")
    Utf16Le,
    Utf16Be,
};

constexpr std::size_t kInspectorRowCount = 11;

// How many bytes at the caret a request takes; the rows read no more than the first 32.
constexpr std::size_t kInspectorByteCount = 96;

// One text per row, indexed by InspectorRow.
using InspectorValues = std::array<std::u16string, kInspectorRowCount>;

// The value texts for the bytes at the caret (none when no file is open or the caret is at
// the end). A row whose bytes are missing, or whose character cannot be decoded, holds the
// unavailable text. Pure apart from the platform's text conversion and UTF-16 test; safe on
// any thread.
[[nodiscard]] InspectorValues ComputeInspectorRows(std::span<const std::uint8_t> bytes, std::u16string_view unavailable);

}  // namespace tvx
