#pragma once
// The Struct View's geometry in physical pixels: toolbar band, optional summary band, column
// headers and the table of rows; column widths and their dividers, scrolling, hit testing.
// Every table coordinate lies summaryHeight lower while the summary is shown.

#include "settings/Rgb.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tvx {

// Columns left to right.
enum StructColumn : int { kOffsetColumn = 0, kValueColumn = 1, kSizeColumn = 2, kNameColumn = 3 };
using StructColumnWidths = std::array<int, 4>;

inline constexpr StructColumnWidths kInitialColumnWidths{72, 220, 72, 280};
inline constexpr StructColumnWidths kMinimumColumnWidths{56, 80, 56, 120};

inline constexpr int kStructToolbarHeight = 62;   // the band with the title and the buttons
inline constexpr int kStructHeaderBottom = 96;    // the column headers end here (plus the summary)
inline constexpr int kStructRowHeight = 32;
inline constexpr int kStructMargin = 12;          // left of the first column and around the boxes
inline constexpr int kStructColumnGap = 16;
inline constexpr int kStructDividerReach = 6;     // how near a divider a press must be
inline constexpr int kStructLineScroll = 32;      // vertical scroll-bar line
inline constexpr int kStructColumnScroll = 24;    // horizontal scroll-bar line
inline constexpr int kStructWheelStep = 48;       // per wheel notch

// The window's outer size before it is first sized, and the least it may have.
inline constexpr int kStructViewInitialWidth = 700;
inline constexpr int kStructViewInitialHeight = 640;
inline constexpr int kStructViewMinimumWidth = 520;
inline constexpr int kStructViewMinimumHeight = 260;

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
    [[nodiscard]] bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Every width raised to its column's minimum.
[[nodiscard]] StructColumnWidths ClampColumnWidths(StructColumnWidths widths) noexcept;

// The column edges x0..x4 for the widths, scrolled left by horizontalPosition.
class StructColumnEdges {
public:
    StructColumnEdges(const StructColumnWidths& widths, int horizontalPosition) noexcept;
    // The cell of column k from its left edge to its right edge.
    [[nodiscard]] int Left(int column) const noexcept;
    [[nodiscard]] int Right(int column) const noexcept { return x_[static_cast<std::size_t>(column) + 1]; }
    // The divider right of column k, in the middle of the gap that follows it.
    [[nodiscard]] int Divider(int column) const noexcept { return Right(column) + kStructColumnGap / 2; }

private:
    std::array<int, 5> x_{};
};

struct StructContentSize {
    int width = 0;
    int height = 0;
};

// The table's size: the column widths with the margins and gaps, 32 pixels per row; nothing
// unless the view shows rows.
[[nodiscard]] StructContentSize ComputeContentSize(const StructColumnWidths& widths, std::size_t rowCount,
                                                   bool loaded) noexcept;

struct ScrollAxis {
    int max = 0;   // range 0..max
    int page = 0;
    int pos = 0;
};

// The position kept between 0 and the last one at which the page still shows content.
[[nodiscard]] int ClampScrollPosition(int position, int content, int page) noexcept;
[[nodiscard]] ScrollAxis HorizontalScroll(int contentWidth, int clientWidth, int position) noexcept;
[[nodiscard]] ScrollAxis VerticalScroll(int contentHeight, int clientHeight, int summaryHeight, int position) noexcept;
// The keyboard's page: the rows' area, at least one row.
[[nodiscard]] int KeyboardPage(int clientHeight, int summaryHeight) noexcept;
// The vertical position after a wheel turn of delta (120 a notch; positive scrolls up).
[[nodiscard]] int WheelScroll(int position, int delta) noexcept;
// The vertical position that shows row (top aligned when above the page, bottom aligned when
// below it), unchanged when it shows already.
[[nodiscard]] int ScrollToShowRow(int row, int position, int page) noexcept;

// The divider (0 to 3) within reach of x in the column header band, or -1; always -1 unless
// the view shows rows.
[[nodiscard]] int HitColumnDivider(const StructColumnEdges& edges, int x, int y, int summaryHeight,
                                   bool loaded) noexcept;

// The 20 x 18 button in the Value heading that opens the value format menu.
[[nodiscard]] PixelRect ValueFormatButton(const StructColumnEdges& edges, int summaryHeight) noexcept;

// A press in the table at y: nothing when y lies above the rows; else the row under it, or -1
// below the last row.
[[nodiscard]] std::optional<int> RowAtY(int y, int summaryHeight, int verticalPosition, std::size_t rowCount) noexcept;
// The top of row i on screen.
[[nodiscard]] int RowTop(int row, int summaryHeight, int verticalPosition) noexcept;

// The widths while the divider right of column is dragged from startX to x: that column
// changes by the distance, never below its minimum.
[[nodiscard]] StructColumnWidths DragColumn(const StructColumnWidths& startWidths, int column, int startX,
                                            int x) noexcept;

// The left edges of the Open, Reload, Close and Info buttons (in that order), right-aligned
// at the client width, and their common top and height.
inline constexpr std::array<int, 4> kStructButtonWidths{90, 128, 80, 70};
inline constexpr int kStructButtonTop = 10;
inline constexpr int kStructButtonHeight = 26;
[[nodiscard]] std::array<int, 4> StructButtonLefts(int clientWidth) noexcept;

// The read-only boxes: the summary below the toolbar, the message below the summary band.
[[nodiscard]] PixelRect SummaryBoxRect(int clientWidth, int summaryHeight) noexcept;
[[nodiscard]] PixelRect MessageBoxRect(int clientWidth, int clientHeight, int summaryHeight) noexcept;

// The definition line's colour: 28 % of the background, 72 % of the text.
[[nodiscard]] Rgb MutedTextColor(Rgb background, Rgb text) noexcept;

}  // namespace tvx
