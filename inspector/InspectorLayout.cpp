#include "inspector/InspectorLayout.h"

#include <algorithm>
#include <cmath>

namespace tvx {

float PixelsToDips(int pixels, std::uint32_t dpi) noexcept {
    return static_cast<float>(pixels) * 96.0f / static_cast<float>(dpi == 0 ? 96 : dpi);
}

float InspectorNameColumnWidth(float clientWidth) noexcept {
    const auto whole = static_cast<long long>(std::floor(std::max(0.0f, clientWidth)));
    return static_cast<float>(std::clamp(whole / 4, 96LL, 132LL));
}

int InspectorRowAt(float x, float y, float clientWidth, std::size_t valueCount) noexcept {
    if (x < InspectorNameColumnWidth(clientWidth) || x >= clientWidth || y < kInspectorHeaderHeight) return -1;
    // The division alone decides the row: the rows tile the area below the header without gaps.
    const double row = std::floor((static_cast<double>(y) - kInspectorHeaderHeight) / kInspectorRowHeight);
    if (row >= static_cast<double>(valueCount)) return -1;
    return static_cast<int>(row);
}

int ClampInspectorSelection(int selected, std::size_t valueCount) noexcept {
    if (selected >= 0 && static_cast<std::size_t>(selected) >= valueCount) return static_cast<int>(valueCount) - 1;
    return selected;
}

int InspectorWidthAfterResize(int width) noexcept {
    return width < kInspectorMinimumWidth + 1 ? kInspectorMinimumWidth : width;
}

}  // namespace tvx
