#include "structview/StructViewGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace tvx {

StructColumnWidths ClampColumnWidths(StructColumnWidths widths) noexcept {
    for (std::size_t k = 0; k < widths.size(); ++k) widths[k] = std::max(widths[k], kMinimumColumnWidths[k]);
    return widths;
}

StructColumnEdges::StructColumnEdges(const StructColumnWidths& widths, int horizontalPosition) noexcept {
    x_[0] = kStructMargin - horizontalPosition;
    x_[1] = x_[0] + widths[0];
    for (std::size_t k = 1; k < widths.size(); ++k) x_[k + 1] = x_[k] + kStructColumnGap + widths[k];
}

int StructColumnEdges::Left(int column) const noexcept {
    return column == 0 ? x_[0] : x_[static_cast<std::size_t>(column)] + kStructColumnGap;
}

StructContentSize ComputeContentSize(const StructColumnWidths& widths, std::size_t rowCount, bool loaded) noexcept {
    if (!loaded) return {};
    int width = 2 * kStructMargin + 3 * kStructColumnGap;
    for (const int w : widths) width += w;
    // At most a few hundred rows are ever built; the product stays far inside int.
    return {width, static_cast<int>(rowCount) * kStructRowHeight};
}

int ClampScrollPosition(int position, int content, int page) noexcept {
    return std::clamp(position, 0, std::max(0, content - page));
}

ScrollAxis HorizontalScroll(int contentWidth, int clientWidth, int position) noexcept {
    const int page = std::max(clientWidth, 0);
    return {std::max(contentWidth - 1, 0), page, ClampScrollPosition(position, contentWidth, page)};
}

ScrollAxis VerticalScroll(int contentHeight, int clientHeight, int summaryHeight, int position) noexcept {
    const int page = std::max(clientHeight - summaryHeight - kStructHeaderBottom, 0);
    return {std::max(contentHeight - 1, 0), page, ClampScrollPosition(position, contentHeight, page)};
}

int KeyboardPage(int clientHeight, int summaryHeight) noexcept {
    return std::max(kStructRowHeight, clientHeight - summaryHeight - kStructHeaderBottom);
}

int WheelScroll(int position, int delta) noexcept {
    const int notches = std::max(1, std::abs(delta) / 120);
    return delta > 0 ? position - kStructWheelStep * notches : position + kStructWheelStep * notches;
}

int ScrollToShowRow(int row, int position, int page) noexcept {
    const int top = row * kStructRowHeight;
    if (top < position) return top;
    if (top + kStructRowHeight > position + page) return top + kStructRowHeight - page;
    return position;
}

int HitColumnDivider(const StructColumnEdges& edges, int x, int y, int summaryHeight, bool loaded) noexcept {
    if (!loaded || y < summaryHeight + kStructToolbarHeight || y > summaryHeight + kStructHeaderBottom) return -1;
    for (int k = 0; k < 4; ++k)
        if (std::abs(x - edges.Divider(k)) < kStructDividerReach) return k;
    return -1;
}

PixelRect ValueFormatButton(const StructColumnEdges& edges, int summaryHeight) noexcept {
    const int right = edges.Right(kValueColumn);
    return {right - 20, summaryHeight + 70, right, summaryHeight + 88};
}

std::optional<int> RowAtY(int y, int summaryHeight, int verticalPosition, std::size_t rowCount) noexcept {
    const int tableTop = summaryHeight + kStructHeaderBottom;
    if (y < tableTop) return std::nullopt;
    const int row = (verticalPosition - tableTop + y) / kStructRowHeight;
    return static_cast<std::size_t>(row) < rowCount ? row : -1;
}

int RowTop(int row, int summaryHeight, int verticalPosition) noexcept {
    return summaryHeight + kStructHeaderBottom - verticalPosition + kStructRowHeight * row;
}

StructColumnWidths DragColumn(const StructColumnWidths& startWidths, int column, int startX, int x) noexcept {
    StructColumnWidths widths = startWidths;
    const auto k = static_cast<std::size_t>(column);
    widths[k] = std::max(kMinimumColumnWidths[k], startWidths[k] + x - startX);
    return ClampColumnWidths(widths);
}

std::array<int, 4> StructButtonLefts(int clientWidth) noexcept {
    std::array<int, 4> lefts{};
    int right = clientWidth - kStructMargin;
    for (std::size_t k = lefts.size(); k-- > 0;) {
        lefts[k] = right - kStructButtonWidths[k];
        right = lefts[k] - 8;
    }
    return lefts;
}

PixelRect SummaryBoxRect(int clientWidth, int summaryHeight) noexcept {
    return {kStructMargin, 72, kStructMargin + std::max(1, clientWidth - 2 * kStructMargin),
            72 + std::max(1, summaryHeight - 20)};
}

PixelRect MessageBoxRect(int clientWidth, int clientHeight, int summaryHeight) noexcept {
    const int top = summaryHeight + 74;
    return {kStructMargin, top, kStructMargin + std::max(1, clientWidth - 2 * kStructMargin),
            top + std::max(1, clientHeight - top - kStructMargin)};
}

Rgb MutedTextColor(Rgb background, Rgb text) noexcept {
    auto mix = [](std::uint8_t b, std::uint8_t t) { return static_cast<std::uint8_t>((28 * b + 72 * t) / 100); };
    return {mix(background.r, text.r), mix(background.g, text.g), mix(background.b, text.b)};
}

}  // namespace tvx
