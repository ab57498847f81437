// The Struct View: copied text, geometry and the value format menu.
#include "platform/AppLocation.h"
#include "structview/StructViewCopyText.h"
#include "structview/StructViewGeometry.h"
#include "structview/ValueFormatChoice.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(StructViewCopyText, TitleDefinitionAndMessageOrTable) {
    StringTable strings(platform::ExecutableDirectory(), [] { return std::u16string(); });
    strings.SetLanguage(Language::English);
    const StructViewLabels labels = LoadStructViewLabels(strings);
    const std::vector<StructViewRow> rows = {{u"file : BITMAPFILEHEADER", u"0x0", u"", u"14"},
                                             {u"  bfType", u"0x0", u"0x4D42", u"2"}};
    const std::u16string head = u"Struct View\r\nDefinition: ";
    const struct {
        StructViewState state;
        std::u16string name, message;
        std::size_t rows;
        std::u16string text;
    } cases[] = {
        {StructViewState::Message, u"", u"", 0, head + u"-\r\n\r\n"},
        {StructViewState::Message, u"", labels.emptyMessage, 0, head + u"-\r\n\r\n" + labels.emptyMessage},
        // A failed load keeps the file's name, and its error follows the prefix.
        {StructViewState::Error, u"bad.tvsd", u"Line 3, column 7: expected ';'", 0,
         head + u"bad.tvsd\r\n\r\nThe struct pattern could not be loaded: Line 3, column 7: expected ';'"},
        {StructViewState::Loaded, u"x.tvsd", u"ignored", 0, head + u"x.tvsd\r\n\r\nOffset\tValue\tSize\tName"},
        {StructViewState::Loaded, u"bmp.tvsd", u"", 2,
         head + u"bmp.tvsd\r\n\r\nOffset\tValue\tSize\tName\r\n0x0\t\t14\tfile : BITMAPFILEHEADER\r\n"
                u"0x0\t0x4D42\t2\t  bfType"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildStructViewCopyText(labels, c.state, c.name, c.message, std::span(rows).first(c.rows)), c.text);
    EXPECT_EQ(FormatStructViewMessage(labels, StructViewState::Message, u"oops"), u"oops");
}

// Columns follow each other at their widths with a gap between, from the margin, scrolled
// left by the position; the content ends one margin after the last column.
TEST(StructViewGeometry, ColumnEdgesDividersAndContentWidth) {
    for (const StructColumnWidths widths :
         {kInitialColumnWidths, kMinimumColumnWidths, StructColumnWidths{100, 500, 60, 1000}})
        for (const int scroll : {0, 50}) {
            const StructColumnEdges edges(widths, scroll);
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(edges.Right(k) - edges.Left(k), widths[static_cast<std::size_t>(k)]);
                EXPECT_EQ(edges.Divider(k), edges.Right(k) + kStructColumnGap / 2);
                EXPECT_EQ(edges.Left(k), k == 0 ? kStructMargin - scroll : edges.Right(k - 1) + kStructColumnGap);
            }
            EXPECT_EQ(ComputeContentSize(widths, 3, true).width, edges.Right(kNameColumn) + scroll + kStructMargin);
        }
    EXPECT_EQ(ComputeContentSize(kInitialColumnWidths, 257, true).height, 257 * kStructRowHeight);
    EXPECT_EQ(ComputeContentSize(kInitialColumnWidths, 0, true).height, 0);
    const StructContentSize none = ComputeContentSize(kInitialColumnWidths, 20, false);
    EXPECT_EQ(none.width + none.height, 0);
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
    const struct {
        int x, y, summary;
        bool loaded;
        int divider;
    } cases[] = {
        {92, 70, 0, true, 0},    {87, 62, 0, true, 0},  // 5 pixels off, top of the band
        {86, 70, 0, true, -1},                          // 6 pixels off
        {333, 96, 0, true, 1},                          // bottom of the band
        {328, 97, 0, true, -1},  {328, 61, 0, true, -1},
        {712, 80, 0, true, 3},   {92, 70, 0, false, -1},   // no rows, no dividers
        {92, 70, 100, true, -1}, {92, 170, 100, true, 0},  // the summary moves the band down
    };
    for (const auto& c : cases) EXPECT_EQ(HitColumnDivider(edges, c.x, c.y, c.summary, c.loaded), c.divider) << c.x;
    EXPECT_EQ(ValueFormatButton(edges, 0), (PixelRect{300, 70, 320, 88}));
    EXPECT_EQ(ValueFormatButton(edges, 40), (PixelRect{300, 110, 320, 128}));
    const PixelRect button = ValueFormatButton(edges, 0);
    EXPECT_TRUE(button.Contains(300, 70) && button.Contains(319, 87));
    EXPECT_FALSE(button.Contains(320, 80) || button.Contains(310, 88));
}

TEST(StructViewGeometry, RowsScrollingAndBoxes) {
    const struct {
        int y, summary, scroll;
        std::optional<int> row;
    } rows[] = {
        {95, 0, 0, std::nullopt}, {96, 0, 0, 0},  {127, 0, 0, 0},  {128, 0, 0, 1},
        {96 + 32 * 10, 0, 0, -1}, {96, 0, 64, 2}, {150, 50, 0, 0}, {140, 50, 0, std::nullopt},
    };
    for (const auto& c : rows) EXPECT_EQ(RowAtY(c.y, c.summary, c.scroll, 10), c.row) << c.y;
    EXPECT_EQ(RowTop(2, 50, 16), 50 + 96 - 16 + 64);

    const auto axis = [](ScrollAxis a) { return std::array{a.max, a.page, a.pos}; };
    EXPECT_EQ(axis(HorizontalScroll(716, 500, 1000)), (std::array{715, 500, 216}));
    EXPECT_EQ(axis(HorizontalScroll(716, 900, 30)), (std::array{715, 900, 0}));
    EXPECT_EQ(axis(VerticalScroll(32 * 20, 496, 0, 5000)), (std::array{639, 400, 240}));
    EXPECT_EQ(axis(VerticalScroll(32 * 20, 496, 100, 5000)), (std::array{639, 300, 340}));
    EXPECT_EQ(axis(VerticalScroll(0, 50, 0, 10)), (std::array{0, 0, 0}));  // lower than the header band
    EXPECT_EQ(ClampScrollPosition(-5, 100, 50), 0);
    EXPECT_EQ(KeyboardPage(496, 0), 400);
    EXPECT_EQ(KeyboardPage(100, 0), 32);
    for (const auto& [delta, position] : {std::pair{120, 152}, {360, 56}, {30, 152}, {-240, 296}, {0, 248}})
        EXPECT_EQ(WheelScroll(200, delta), position) << delta;  // less than a notch still scrolls one
    EXPECT_EQ(ScrollToShowRow(2, 100, 300), 64);                // above: its top at the top
    EXPECT_EQ(ScrollToShowRow(5, 100, 300), 100);               // visible: unchanged
    EXPECT_EQ(ScrollToShowRow(12, 100, 300), 116);              // below: its bottom at the bottom

    EXPECT_EQ(StructButtonLefts(800), (std::array<int, 4>{396, 494, 630, 718}));
    EXPECT_EQ(SummaryBoxRect(800, 120), (PixelRect{12, 72, 788, 172}));
    EXPECT_EQ(SummaryBoxRect(10, 0), (PixelRect{12, 72, 13, 73}));
    EXPECT_EQ(MessageBoxRect(800, 600, 120), (PixelRect{12, 194, 788, 588}));
    EXPECT_EQ(MessageBoxRect(800, 50, 0), (PixelRect{12, 74, 788, 75}));
    EXPECT_EQ(MutedTextColor({0x0F, 0x14, 0x1C}, {0xE6, 0xED, 0xF3}), (Rgb{169, 176, 182}));
    EXPECT_EQ(MutedTextColor({255, 255, 255}, {255, 255, 255}), (Rgb{255, 255, 255}));
}

// Items 1 to 6 are three pairs (byte arrays, byte order, base): a choice sets its pair's
// value and leaves the others; exactly the item of each pair that the format has is checked.
TEST(ValueFormatChoice, EachChoiceSetsOneOfTheThree) {
    for (const auto bytes : {ByteArrayFormat::Hex, ByteArrayFormat::Ascii})
        for (const auto order : {ByteOrder::Little, ByteOrder::Big})
            for (const auto base : {NumericBase::Hex, NumericBase::Dec}) {
                const StructValueFormat format{bytes, order, base};
                const StructValueFormat chosen[] = {
                    {ByteArrayFormat::Hex, order, base}, {ByteArrayFormat::Ascii, order, base},
                    {bytes, ByteOrder::Little, base},    {bytes, ByteOrder::Big, base},
                    {bytes, order, NumericBase::Hex},    {bytes, order, NumericBase::Dec},
                };
                for (int item = 1; item <= 6; ++item) {
                    const auto applied = ApplyValueFormatChoice(format, item);
                    ASSERT_TRUE(applied) << item;
                    EXPECT_TRUE(SameValueFormat(*applied, chosen[item - 1])) << item;
                    EXPECT_EQ(IsValueFormatChoiceChecked(format, item), SameValueFormat(*applied, format)) << item;
                }
                for (const int outside : {0, 7, -1, 4201}) {
                    EXPECT_FALSE(ApplyValueFormatChoice(format, outside)) << outside;
                    EXPECT_FALSE(IsValueFormatChoiceChecked(format, outside)) << outside;
                }
            }
}

}  // namespace
}  // namespace tvx
