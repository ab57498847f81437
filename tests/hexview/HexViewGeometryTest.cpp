#include "tests/hexview/HexViewTestSupport.h"

namespace tvx::test {
namespace {

using Geometry = HexViewTest;

TEST_F(Geometry, SetDocumentMeasuresAndResetsTheView) {
    Open(1000);
    view.SetEditingEnabled(true);
    view.SetCaret(500);
    view.SetSelection(3, 9);
    ASSERT_TRUE(view.KeyDown(HexKey::Insert, false));
    view.SetEncoding(TextEncoding::Utf8);

    view.SetDocument(&document);
    EXPECT_EQ(view.Caret(), 0u);
    EXPECT_EQ(view.TopRow(), 0u);
    EXPECT_FALSE(view.SelectionActive());
    EXPECT_FALSE(view.EditingEnabled());
    EXPECT_EQ(view.Mode(), EditMode::Insert);  // kept, like encoding, theme, font and zoom
    EXPECT_EQ(view.Encoding(), TextEncoding::Utf8);
    EXPECT_FLOAT_EQ(view.Metrics().rowHeight, 22);
    EXPECT_GT(host.focusRequests, 0);
    EXPECT_TRUE(view.TakeRepaintRequest());
    EXPECT_FALSE(view.TakeRepaintRequest());
}

TEST_F(Geometry, RowCount) {
    Open(0);
    EXPECT_EQ(view.RowCount(), 0u);
    Open(16);
    EXPECT_EQ(view.RowCount(), 1u);
    Open(17);
    EXPECT_EQ(view.RowCount(), 2u);
}

TEST_F(Geometry, InsertModeAtTheEndOfAFullRowAddsAnEmptyRow) {
    Open(32);
    InsertMode();
    view.SetCaret(32);
    EXPECT_TRUE(view.HasEndRow());
    EXPECT_EQ(view.RowCount(), 3u);
    view.SetCaret(31);
    EXPECT_EQ(view.RowCount(), 2u);
}

TEST_F(Geometry, ClosedDocumentHasNoRowsAndCaretZero) {
    document.open_ = false;
    Open(64);
    EXPECT_EQ(view.LastCaretOffset(), 0u);
    view.SetCaret(10);
    EXPECT_EQ(view.Caret(), 0u);
}

TEST_F(Geometry, VisibleRowsCountWholeRowsBetweenTheMargins) {
    Open(100);
    EXPECT_EQ(view.VisibleRowCount(), 31u);  // (700 - 16) / 22 = 31.09
    host.height = 16 + 22 * 5;
    EXPECT_EQ(view.VisibleRowCount(), 5u);
    host.height = 20;  // not even one row fits: one is still counted
    EXPECT_EQ(view.VisibleRowCount(), 1u);
    host.height = 0;
    EXPECT_EQ(view.VisibleRowCount(), 1u);
}

TEST_F(Geometry, ClientPixelsBecomeDipsAtTheWindowDpi) {
    host.dpi = 192;
    host.width = 1960;
    host.height = 1400;
    Open(100);
    EXPECT_FLOAT_EQ(view.ClientWidthDips(), 980);
    EXPECT_EQ(view.VisibleRowCount(), 31u);
    view.SetDpi(0);  // counts as 96
    EXPECT_EQ(view.Dpi(), 96u);
    EXPECT_FLOAT_EQ(view.ClientWidthDips(), 1960);
}

TEST_F(Geometry, MaxTopRow) {
    Open(16 * 40);
    EXPECT_EQ(view.MaxTopRow(), 9u);  // 40 rows, 31 visible
    Open(16 * 10);
    EXPECT_EQ(view.MaxTopRow(), 0u);
}

TEST_F(Geometry, ViewportAndHorizontalRange) {
    Open(100);
    EXPECT_EQ(view.DataViewportWidth(), 862);  // 980 - (8 + 90 + 12) - 8
    EXPECT_EQ(view.MaxHorizontalScroll(), 0);
    host.width = 500;
    EXPECT_EQ(view.DataViewportWidth(), 382);
    EXPECT_EQ(view.MaxHorizontalScroll(), 652 - 382);  // hex 480 + gap 12 + text 160
    host.width = 50;
    EXPECT_EQ(view.DataViewportWidth(), 0);
    EXPECT_EQ(view.MaxHorizontalScroll(), 652);
}

TEST_F(Geometry, ColumnPositionsFollowTheHorizontalScroll) {
    host.width = 500;
    Open(100);
    EXPECT_FLOAT_EQ(view.HexColumnLeft(), 110);
    EXPECT_FLOAT_EQ(view.TextColumnLeft(), 602);
    view.ScrollHorizontally(ScrollRequest::Track, 40);
    EXPECT_FLOAT_EQ(view.HexColumnLeft(), 70);
    EXPECT_FLOAT_EQ(view.TextColumnLeft(), 562);
}

TEST_F(Geometry, ScrollBarsShowRowsAndDips) {
    host.width = 500;
    Open(16 * 40 + 3);
    EXPECT_EQ(host.vertical, (ScrollBarState{40, 31, 0}));
    EXPECT_EQ(host.horizontal, (ScrollBarState{651, 382, 0}));
    Open(0);
    EXPECT_EQ(host.vertical, (ScrollBarState{0, 31, 0}));
}

TEST_F(Geometry, VerticalRangeIsCappedAtInt32Max) {
    document.fakeSize_ = std::uint64_t{1} << 40;  // 2^36 rows
    view.SetDocument(&document);
    view.SetTopRow(std::uint64_t{1} << 35);
    EXPECT_EQ(host.vertical.max, 2147483647);
    EXPECT_EQ(host.vertical.pos, 2147483647);
    EXPECT_EQ(view.TopRow(), std::uint64_t{1} << 35);
}

TEST_F(Geometry, UpdateScrollBarsClampsCaretTopRowAndHorizontalPosition) {
    host.width = 500;
    Open(16 * 100);
    view.SetCaret(16 * 100 - 1);
    view.ScrollHorizontally(ScrollRequest::End, 0);
    document.bytes_.resize(16 * 20);
    host.width = 980;
    view.UpdateScrollBars();
    EXPECT_EQ(view.Caret(), 16u * 20 - 1);
    EXPECT_EQ(view.TopRow(), 0u);
    EXPECT_EQ(view.HorizontalPosition(), 0);
}

TEST_F(Geometry, EnsureCaretVisibleScrollsRowsMinimally) {
    Open(16 * 100);
    view.SetCaret(16 * 40);  // below the 31 visible rows: row 40 becomes the last visible
    EXPECT_EQ(view.TopRow(), 10u);
    view.SetCaret(16 * 40 + 15);  // already visible
    EXPECT_EQ(view.TopRow(), 10u);
    view.SetCaret(16 * 5);  // above: becomes the top row
    EXPECT_EQ(view.TopRow(), 5u);
}

TEST_F(Geometry, EnsureCaretVisibleScrollsTheHexCellIntoView) {
    host.width = 300;  // viewport 182 DIPs
    Open(100);
    view.SetCaret(7);  // cell 210..230
    EXPECT_EQ(view.HorizontalPosition(), 230 - 182);
    view.SetCaret(8);  // cell 240..260
    EXPECT_EQ(view.HorizontalPosition(), 260 - 182);
    view.SetCaret(1);  // cell 30..50: left edge above the position
    EXPECT_EQ(view.HorizontalPosition(), 30);
}

TEST_F(Geometry, SetTopRowClampsAndNotifies) {
    Open(16 * 40);
    view.SetTopRow(100);
    EXPECT_EQ(view.TopRow(), 9u);
    EXPECT_EQ(host.events.documentChanged, 1);
    EXPECT_EQ(host.vertical.pos, 9);
}

TEST_F(Geometry, VerticalScrollRequests) {
    Open(16 * 100);  // max top row 69, page 31
    auto scroll = [&](ScrollRequest r, int track = 0) {
        view.ScrollVertically(r, track);
        return view.TopRow();
    };
    EXPECT_EQ(scroll(ScrollRequest::LineBack), 0u);
    EXPECT_EQ(scroll(ScrollRequest::LineForward), 1u);
    EXPECT_EQ(scroll(ScrollRequest::PageForward), 32u);
    EXPECT_EQ(scroll(ScrollRequest::PageForward), 63u);
    EXPECT_EQ(scroll(ScrollRequest::PageForward), 69u);
    EXPECT_EQ(scroll(ScrollRequest::PageBack), 38u);
    EXPECT_EQ(scroll(ScrollRequest::Track, 12), 12u);
    EXPECT_EQ(scroll(ScrollRequest::PageBack), 0u);
    EXPECT_EQ(scroll(ScrollRequest::End), 69u);
    EXPECT_EQ(scroll(ScrollRequest::Other), 69u);
    EXPECT_EQ(scroll(ScrollRequest::Start), 0u);
    EXPECT_EQ(host.events.documentChanged, 11);
}

TEST_F(Geometry, HorizontalScrollRequests) {
    host.width = 500;  // page 382, max 270
    Open(100);
    host.events = {};
    auto scroll = [&](ScrollRequest r, int track = 0) {
        view.ScrollHorizontally(r, track);
        return view.HorizontalPosition();
    };
    EXPECT_EQ(scroll(ScrollRequest::LineForward), 10);
    EXPECT_EQ(scroll(ScrollRequest::LineBack), 0);
    EXPECT_EQ(scroll(ScrollRequest::LineBack), 0);
    EXPECT_EQ(scroll(ScrollRequest::PageForward), 270);
    EXPECT_EQ(scroll(ScrollRequest::Track, 100), 100);
    EXPECT_EQ(scroll(ScrollRequest::PageBack), 0);
    EXPECT_EQ(scroll(ScrollRequest::End), 270);
    EXPECT_EQ(scroll(ScrollRequest::Start), 0);
    EXPECT_EQ(scroll(ScrollRequest::Track, 9999), 270);
    EXPECT_EQ(host.events.documentChanged, 0);  // no notification for horizontal scrolling
    EXPECT_EQ(host.horizontal.pos, 270);
}

TEST_F(Geometry, HorizontalLineStepIsTheRoundedCellAndAtLeastOne) {
    host.width = 20;
    measurer.advance = 0.4f;  // rounds to 0: the step is 1
    Open(100);
    view.ScrollHorizontally(ScrollRequest::LineForward, 0);
    EXPECT_EQ(view.HorizontalPosition(), 1);
}

TEST_F(Geometry, WheelScrollsThreeRowsOrZooms) {
    Open(16 * 100);
    view.Wheel(-120, false);
    EXPECT_EQ(view.TopRow(), 3u);
    view.Wheel(-960, false);  // one step whatever the delta
    EXPECT_EQ(view.TopRow(), 6u);
    view.Wheel(120, false);
    view.Wheel(120, false);
    view.Wheel(120, false);
    EXPECT_EQ(view.TopRow(), 0u);
    view.Wheel(120, true);
    EXPECT_FLOAT_EQ(view.Zoom(), 1.1f);
    view.Wheel(-120, true);
    view.Wheel(0, true);  // a zero delta zooms out
    EXPECT_FLOAT_EQ(view.Zoom(), 0.9f);
    EXPECT_EQ(host.events.viewStatusChanged, 3);
}

TEST_F(Geometry, ZoomStopsAtItsLimits) {
    Open(100);
    for (int i = 0; i < 20; ++i) view.ChangeZoom(0.1f);
    EXPECT_FLOAT_EQ(view.Zoom(), 2.5f);
    host.events = {};
    view.ChangeZoom(0.1f);
    EXPECT_EQ(host.events.viewStatusChanged, 0);
    for (int i = 0; i < 30; ++i) view.ChangeZoom(-0.1f);
    EXPECT_FLOAT_EQ(view.Zoom(), 0.6f);
}

TEST_F(Geometry, ZoomNearTheLimitLandsOnIt) {
    Open(100);
    for (int i = 0; i < 29; ++i) view.ChangeZoom(0.05f);  // 2.45
    view.ChangeZoom(0.1f);
    EXPECT_FLOAT_EQ(view.Zoom(), 2.5f);
    EXPECT_FLOAT_EQ(view.Metrics().fontSize, 40);
}

TEST_F(Geometry, ZoomResetOnlyWhenNotAlreadyOne) {
    Open(100);
    view.ChangeZoom(0.0005f);  // below the step threshold: nothing
    EXPECT_FLOAT_EQ(view.Zoom(), 1.0f);
    view.ChangeZoom(0.5f);
    host.events = {};
    view.ResetZoom();
    EXPECT_FLOAT_EQ(view.Zoom(), 1.0f);
    EXPECT_EQ(host.events.viewStatusChanged, 1);
    view.ResetZoom();
    EXPECT_EQ(host.events.viewStatusChanged, 1);
}

TEST_F(Geometry, FontSizeIsClampedAndConvertedToDips) {
    Open(100);
    view.SetFont(u"Mono", 100, false, false);
    EXPECT_FLOAT_EQ(view.Metrics().baseFontSize, 64);
    view.SetFont(u"Mono", 4, false, false);
    EXPECT_FLOAT_EQ(view.Metrics().baseFontSize, 8);
    EXPECT_EQ(view.Font().family, u"Mono");
}

TEST_F(Geometry, UnchangedFontDoesNothing) {
    Open(100);
    view.SetFont(u"Mono", 12, false, false);
    host.events = {};
    view.SetFont(u"MONO", 12.004f, false, false);  // case and a tiny size difference do not count
    view.SetFont(u"", 20, true, true);              // an empty family is ignored
    EXPECT_EQ(host.events.documentChanged, 0);
    EXPECT_EQ(view.Font().family, u"Mono");
    view.SetFont(u"Mono", 12, false, true);
    EXPECT_EQ(host.events.documentChanged, 1);
    EXPECT_TRUE(view.Font().italic);
}

TEST_F(Geometry, HitTestFindsHexAndTextCells) {
    Open(100);
    // Row 0 spans y 8..30; hex cells at 110 + 30 i; text cells at 602 + 10 i.
    EXPECT_EQ(view.HitTest(110, 8), 0u);
    EXPECT_EQ(view.HitTest(139, 29), 0u);  // the space after a cell belongs to it
    EXPECT_EQ(view.HitTest(140, 30), 17u);
    EXPECT_EQ(view.HitTest(110 + 30 * 15 + 29, 8), 15u);
    EXPECT_EQ(view.HitTest(602, 8), 0u);
    EXPECT_EQ(view.HitTest(602 + 10 * 15 + 9, 8 + 22 * 2), 47u);
}

TEST_F(Geometry, HitTestMissesOffsetsGapsAndMargins) {
    Open(16 * 100);
    EXPECT_EQ(view.HitTest(50, 10), std::nullopt);   // offset column
    EXPECT_EQ(view.HitTest(105, 10), std::nullopt);  // gap before the hex column
    EXPECT_EQ(view.HitTest(595, 10), std::nullopt);  // gap before the text column
    EXPECT_EQ(view.HitTest(762, 10), std::nullopt);  // right of the text column
    EXPECT_EQ(view.HitTest(120, 7), std::nullopt);   // top margin
    EXPECT_EQ(view.HitTest(120, 692), std::nullopt);  // bottom margin
}

TEST_F(Geometry, HitTestStopsAtTheLastByte) {
    Open(100);  // the last row holds offsets 96..99
    EXPECT_EQ(view.HitTest(110 + 30 * 3, 8 + 22 * 6), 99u);
    EXPECT_EQ(view.HitTest(110 + 30 * 4, 8 + 22 * 6), std::nullopt);
    EXPECT_EQ(view.HitTest(602 + 10 * 4, 8 + 22 * 6), std::nullopt);
    EXPECT_EQ(view.HitTest(120, 8 + 22 * 7), std::nullopt);  // below the last row
    Open(0);
    EXPECT_EQ(view.HitTest(110, 8), std::nullopt);
}

TEST_F(Geometry, HitTestCountsFromTheTopRowAndScaledPoints) {
    host.dpi = 144;
    host.width = 1470;
    host.height = 1050;
    Open(16 * 100);
    view.SetTopRow(10);
    // 144 DPI: pixels x 2/3 are DIPs.
    EXPECT_EQ(view.HitTest(3 * 140 / 2, 3 * 8 / 2), 161u);
}

}  // namespace
}  // namespace tvx::test
