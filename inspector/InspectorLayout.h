#pragma once
// The Data Inspector window's geometry, in device-independent pixels (DIPs): a header line,
// then one line per row, with the label in the name column and the value beside it.

#include <cstddef>
#include <cstdint>

namespace tvx {

inline constexpr float kInspectorHeaderHeight = 38;
inline constexpr float kInspectorRowHeight = 36;
inline constexpr float kInspectorTextInset = 12;  // on both sides of each cell

// The window's outer width before it is first sized, and the least it may have.
inline constexpr int kInspectorInitialWidth = 520;
inline constexpr int kInspectorMinimumWidth = 420;
inline constexpr int kInspectorMinimumHeight = 220;
inline constexpr int kInspectorInitialHeight = 640;

// Physical pixels to DIPs; a DPI of 0 counts as 96.
[[nodiscard]] float PixelsToDips(int pixels, std::uint32_t dpi) noexcept;

// A quarter of the client width (whole DIPs, integer division), clamped to 96..132.
[[nodiscard]] float InspectorNameColumnWidth(float clientWidth) noexcept;

// The row whose value cell holds the point (DIPs), or -1: clicks in the name column, in the
// header, right of the client area or below the last value select nothing.
[[nodiscard]] int InspectorRowAt(float x, float y, float clientWidth, std::size_t valueCount) noexcept;

// The selection kept when the values change: the last value when it was at or beyond the
// count (-1 without values), else unchanged.
[[nodiscard]] int ClampInspectorSelection(int selected, std::size_t valueCount) noexcept;

// The width the window keeps after a resize to outer width `width`: at least the minimum.
[[nodiscard]] int InspectorWidthAfterResize(int width) noexcept;

}  // namespace tvx
