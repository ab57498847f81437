#include "hexview/HexMetrics.h"
#include "tests/hexview/HexViewFakes.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

HexMetrics Compute(FakeMeasurer& measurer, float zoom = 1.0f, std::uint64_t size = 100) {
    HexMetrics metrics;
    ComputeMetrics(metrics, measurer, HexFont{}, zoom, size);
    return metrics;
}

TEST(HexMetrics, WithoutTextStackTheFallbacksStand) {
    FakeMeasurer measurer;
    measurer.available = false;
    const HexMetrics m = Compute(measurer);
    EXPECT_FLOAT_EQ(m.rowHeight, 17);
    EXPECT_FLOAT_EQ(m.hexCellWidth, 8);
    EXPECT_FLOAT_EQ(m.textCellWidth, 8);
    EXPECT_FLOAT_EQ(m.offsetColumnWidth, 0);
    EXPECT_FLOAT_EQ(m.hexColumnWidth, 0);
    EXPECT_FLOAT_EQ(m.textColumnWidth, 0);
    EXPECT_FLOAT_EQ(m.margin, 8);
    EXPECT_FLOAT_EQ(m.columnGap, 12);
}

TEST(HexMetrics, CellsTakeTheWidestGlyphOfTheirColumn) {
    FakeMeasurer measurer;
    measurer.wide = {{u':', 11.5f}, {u'W', 13.0f}, {u'g', 12.0f}};
    const HexMetrics m = Compute(measurer);
    EXPECT_FLOAT_EQ(m.hexCellWidth, 11.5f);  // the colon is part of the hex grid
    EXPECT_FLOAT_EQ(m.textCellWidth, 13.0f);
    EXPECT_FLOAT_EQ(m.offsetColumnWidth, 11.5f * 9);  // eight digits and a colon
    EXPECT_FLOAT_EQ(m.hexColumnWidth, 11.5f * 48);
    EXPECT_FLOAT_EQ(m.textColumnWidth, 13.0f * 16);
}

TEST(HexMetrics, LowerCaseHexLettersAreNotPartOfTheHexGrid) {
    FakeMeasurer measurer;
    measurer.wide = {{u'a', 30.0f}};
    const HexMetrics m = Compute(measurer);
    EXPECT_FLOAT_EQ(m.hexCellWidth, 10);
    EXPECT_FLOAT_EQ(m.textCellWidth, 30);
}

TEST(HexMetrics, FailedCharactersAreSkippedAndWidthsStayAtLeastOne) {
    FakeMeasurer measurer;
    measurer.wide = {{u'0', 25.0f}};
    measurer.failing = u"0";
    EXPECT_FLOAT_EQ(Compute(measurer).hexCellWidth, 10);

    std::u16string everything;
    for (char16_t c = 0x20; c <= 0x7E; ++c) everything.push_back(c);
    measurer.failing = everything;
    const HexMetrics m = Compute(measurer);
    EXPECT_FLOAT_EQ(m.hexCellWidth, 1);
    EXPECT_FLOAT_EQ(m.textCellWidth, 1);
}

TEST(HexMetrics, SixteenOffsetDigitsFromFourGibibytes) {
    FakeMeasurer measurer;
    EXPECT_FLOAT_EQ(Compute(measurer, 1.0f, 4294967295ull).offsetColumnWidth, 10 * 9);
    EXPECT_FLOAT_EQ(Compute(measurer, 1.0f, 4294967296ull).offsetColumnWidth, 10 * 17);
    EXPECT_EQ(OffsetDigits(0), 8);
    EXPECT_EQ(OffsetDigits(4294967296ull), 16);
}

TEST(HexMetrics, RowHeightIsTheLargestOfTheThreeRules) {
    FakeMeasurer measurer;
    measurer.lineHeight = 19.6f;  // 19.6 + 0.15 x 16 = 22 beats 1.35 x 16 = 21.6
    EXPECT_FLOAT_EQ(Compute(measurer).rowHeight, 22);
    measurer.lineHeight = 10.0f;  // 1.35 x 16 = 21.6 beats 10 + 2.4
    EXPECT_FLOAT_EQ(Compute(measurer).rowHeight, 21.6f);
    measurer.lineHeight = 5.0f;  // at zoom 0.6 the font is 9.6 DIPs: 17 is the floor
    EXPECT_FLOAT_EQ(Compute(measurer, 0.6f).rowHeight, 17);
}

TEST(HexMetrics, SmallFontsAddAtLeastThreeQuartersOfADip) {
    FakeMeasurer measurer;
    measurer.lineHeight = 20.0f;
    HexMetrics m;
    m.baseFontSize = 4;  // 0.15 x 4 = 0.6 < 0.75
    ComputeMetrics(m, measurer, HexFont{}, 1.0f, 0);
    EXPECT_FLOAT_EQ(m.rowHeight, 20.75f);
}

TEST(HexMetrics, FailedLineMeasurementCountsAsSeventeen) {
    FakeMeasurer measurer;
    measurer.lineHeight.reset();
    HexMetrics m;
    m.baseFontSize = 8;  // 17 + 1.2 beats 1.35 x 8
    ComputeMetrics(m, measurer, HexFont{}, 1.0f, 0);
    EXPECT_FLOAT_EQ(m.rowHeight, 18.2f);
}

TEST(HexMetrics, FontSizeIsZoomTimesBaseSize) {
    FakeMeasurer measurer;
    HexMetrics m;
    m.baseFontSize = 20;
    ComputeMetrics(m, measurer, HexFont{u"Mono", true, false}, 1.5f, 0);
    EXPECT_FLOAT_EQ(m.fontSize, 30);
    EXPECT_FLOAT_EQ(measurer.preparedSize, 30);
    EXPECT_EQ(measurer.preparedFont.family, u"Mono");
    EXPECT_TRUE(measurer.preparedFont.bold);
}

}  // namespace
}  // namespace tvx::test
