#include "structview/StructViewGeometry.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(StructViewGeometry, ColumnEdgesAndDividers) {
    const StructColumnEdges edges(kInitialColumnWidths, 0);
    EXPECT_EQ(edges.Left(kOffsetColumn), 12);
    EXPECT_EQ(edges.Right(kOffsetColumn), 84);
    EXPECT_EQ(edges.Left(kValueColumn), 100);
    EXPECT_EQ(edges.Right(kValueColumn), 320);
    EXPECT_EQ(edges.Left(kSizeColumn), 336);
    EXPECT_EQ(edges.Right(kSizeColumn), 408);
    EXPECT_EQ(edges.Left(kNameColumn), 424);
    EXPECT_EQ(edges.Right(kNameColumn), 704);
    EXPECT_EQ(edges.Divider(kOffsetColumn), 92);
    EXPECT_EQ(edges.Divider(kNameColumn), 712);
    const StructColumnEdges scrolled(kInitialColumnWidths, 50);
    EXPECT_EQ(scrolled.Left(kOffsetColumn), -38);
    EXPECT_EQ(scrolled.Divider(kValueColumn), 278);
}

// The content is exactly as wide as the columns with a margin on each side, whatever the widths.
TEST(StructViewGeometry, ContentWidthEndsOneMarginAfterTheLastColumn) {
    for (const StructColumnWidths widths :
         {kInitialColumnWidths, kMinimumColumnWidths, StructColumnWidths{100, 500, 60, 1000}}) {
        const StructColumnEdges edges(widths, 0);
        EXPECT_EQ(ComputeContentSize(widths, 3, true).width, edges.Right(kNameColumn) + kStructMargin);
    }
}

TEST(StructViewGeometry, ContentSizeOnlyWithRows) {
    EXPECT_EQ(ComputeContentSize(kInitialColumnWidths, 257, true).height, 8224);
    EXPECT_EQ(ComputeContentSize(kInitialColumnWidths, 0, true).height, 0);
    EXPECT_EQ(ComputeContentSize(kInitialColumnWidths, 0, true).width, 716);
    const StructContentSize none = ComputeContentSize(kInitialColumnWidths, 20, false);
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
}

TEST(StructViewGeometry, WidthsNeverFallBelowTheirMinimum) {
    EXPECT_EQ(ClampColumnWidths({0, 0, 0, 0}), kMinimumColumnWidths);
    EXPECT_EQ(ClampColumnWidths({57, 81, 57, 121}), (StructColumnWidths{57, 81, 57, 121}));
    // Dragging the Value divider far left stops at 80; to the right it grows by the distance.
    EXPECT_EQ(DragColumn(kInitialColumnWidths, kValueColumn, 328, -500)[kValueColumn], 80);
    EXPECT_EQ(DragColumn(kInitialColumnWidths, kValueColumn, 328, 358), (StructColumnWidths{72, 250, 72, 280}));
    EXPECT_EQ(DragColumn(kInitialColumnWidths, kNameColumn, 712, 700)[kNameColumn], 268);
}

TEST(StructViewGeometry, DividersAreHitOnlyInTheHeaderBand) {
    const StructColumnEdges edges(kInitialColumnWidths, 0);
    EXPECT_EQ(HitColumnDivider(edges, 92, 70, 0, true), 0);
    EXPECT_EQ(HitColumnDivider(edges, 87, 62, 0, true), 0);   // 5 pixels off, top of the band
    EXPECT_EQ(HitColumnDivider(edges, 86, 70, 0, true), -1);  // 6 pixels off
    EXPECT_EQ(HitColumnDivider(edges, 333, 96, 0, true), 1);  // bottom of the band
    EXPECT_EQ(HitColumnDivider(edges, 328, 97, 0, true), -1);
    EXPECT_EQ(HitColumnDivider(edges, 328, 61, 0, true), -1);
    EXPECT_EQ(HitColumnDivider(edges, 712, 80, 0, true), 3);
    EXPECT_EQ(HitColumnDivider(edges, 92, 70, 0, false), -1);  // no rows, no dividers
    // The summary band moves the header band down.
    EXPECT_EQ(HitColumnDivider(edges, 92, 70, 100, true), -1);
    EXPECT_EQ(HitColumnDivider(edges, 92, 170, 100, true), 0);
}

TEST(StructViewGeometry, ValueFormatButtonEndsAtTheValueColumn) {
    const StructColumnEdges edges(kInitialColumnWidths, 0);
    EXPECT_EQ(ValueFormatButton(edges, 0), (PixelRect{300, 70, 320, 88}));
    EXPECT_EQ(ValueFormatButton(edges, 40), (PixelRect{300, 110, 320, 128}));
    const PixelRect button = ValueFormatButton(edges, 0);
    EXPECT_TRUE(button.Contains(300, 70));
    EXPECT_TRUE(button.Contains(319, 87));
    EXPECT_FALSE(button.Contains(320, 80));
    EXPECT_FALSE(button.Contains(310, 88));
}

TEST(StructViewGeometry, RowsUnderPresses) {
    EXPECT_EQ(RowAtY(95, 0, 0, 10), std::nullopt);  // the header band
    EXPECT_EQ(RowAtY(96, 0, 0, 10), 0);
    EXPECT_EQ(RowAtY(127, 0, 0, 10), 0);
    EXPECT_EQ(RowAtY(128, 0, 0, 10), 1);
    EXPECT_EQ(RowAtY(96 + 32 * 10, 0, 0, 10), -1);  // below the last row
    EXPECT_EQ(RowAtY(96, 0, 64, 10), 2);           // scrolled two rows
    EXPECT_EQ(RowAtY(150, 50, 0, 10), 0);          // the summary moves the rows down
    EXPECT_EQ(RowAtY(140, 50, 0, 10), std::nullopt);
    EXPECT_EQ(RowTop(2, 50, 16), 50 + 96 - 16 + 64);
}

TEST(StructViewGeometry, ScrollRangesAndPositions) {
    const ScrollAxis horizontal = HorizontalScroll(716, 500, 1000);
    EXPECT_EQ(horizontal.max, 715);
    EXPECT_EQ(horizontal.page, 500);
    EXPECT_EQ(horizontal.pos, 216);
    const ScrollAxis wide = HorizontalScroll(716, 900, 30);
    EXPECT_EQ(wide.pos, 0);
    const ScrollAxis vertical = VerticalScroll(32 * 20, 496, 0, 5000);
    EXPECT_EQ(vertical.max, 639);
    EXPECT_EQ(vertical.page, 400);
    EXPECT_EQ(vertical.pos, 240);
    EXPECT_EQ(VerticalScroll(32 * 20, 496, 100, 5000).page, 300);
    EXPECT_EQ(VerticalScroll(0, 50, 0, 10).page, 0);  // a window lower than the header band
    EXPECT_EQ(VerticalScroll(0, 50, 0, 10).max, 0);
    EXPECT_EQ(VerticalScroll(0, 50, 0, 10).pos, 0);
    EXPECT_EQ(ClampScrollPosition(-5, 100, 50), 0);
}

TEST(StructViewGeometry, KeyboardPageWheelAndRowReveal) {
    EXPECT_EQ(KeyboardPage(496, 0), 400);
    EXPECT_EQ(KeyboardPage(100, 0), 32);
    EXPECT_EQ(WheelScroll(200, 120), 152);
    EXPECT_EQ(WheelScroll(200, 360), 56);
    EXPECT_EQ(WheelScroll(200, 30), 152);  // less than a notch still scrolls one
    EXPECT_EQ(WheelScroll(200, -240), 296);
    EXPECT_EQ(WheelScroll(200, 0), 248);
    EXPECT_EQ(ScrollToShowRow(2, 100, 300), 64);    // above: its top at the top
    EXPECT_EQ(ScrollToShowRow(5, 100, 300), 100);   // visible: unchanged
    EXPECT_EQ(ScrollToShowRow(12, 100, 300), 116);  // below: its bottom at the bottom
}

TEST(StructViewGeometry, ButtonsAndBoxes) {
    const int width = 800;
    EXPECT_EQ(StructButtonLefts(width), (std::array<int, 4>{width - 404, width - 306, width - 170, width - 82}));
    EXPECT_EQ(SummaryBoxRect(800, 120), (PixelRect{12, 72, 788, 172}));
    EXPECT_EQ(SummaryBoxRect(10, 0), (PixelRect{12, 72, 13, 73}));
    EXPECT_EQ(MessageBoxRect(800, 600, 0), (PixelRect{12, 74, 788, 588}));
    EXPECT_EQ(MessageBoxRect(800, 600, 120), (PixelRect{12, 194, 788, 588}));
    EXPECT_EQ(MessageBoxRect(800, 50, 0), (PixelRect{12, 74, 788, 75}));
}

TEST(StructViewGeometry, MutedTextMixesBackgroundAndText) {
    EXPECT_EQ(MutedTextColor({0x0F, 0x14, 0x1C}, {0xE6, 0xED, 0xF3}), (Rgb{169, 176, 182}));
    EXPECT_EQ(MutedTextColor({0xFA, 0xFA, 0xFA}, {0x20, 0x20, 0x20}), (Rgb{93, 93, 93}));
    EXPECT_EQ(MutedTextColor({255, 255, 255}, {255, 255, 255}), (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace tvx
