#pragma once
// The six choices of the value format menu: 1 byte arrays as hex, 2 as ASCII, 3 little-endian,
// 4 big-endian, 5 hexadecimal numbers, 6 decimal numbers. The menu's item ids are
// kValueFormatMenuFirstId - 1 + choice; the choice travels to the main window as the wParam of
// the format message.

#include "structpattern/StructValueFormat.h"

#include <optional>

namespace tvx {

inline constexpr int kValueFormatChoiceCount = 6;
inline constexpr unsigned kValueFormatMenuFirstId = 4201;

// The format with choice applied; nothing for a choice outside 1..6.
[[nodiscard]] std::optional<StructValueFormat> ApplyValueFormatChoice(const StructValueFormat& format, int choice) noexcept;

// Whether the menu checks choice under format (the current setting of each of the three).
[[nodiscard]] bool IsValueFormatChoiceChecked(const StructValueFormat& format, int choice) noexcept;

[[nodiscard]] bool SameValueFormat(const StructValueFormat& a, const StructValueFormat& b) noexcept;

}  // namespace tvx
