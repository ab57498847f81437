#include "inspector/InspectorLayout.h"
#include "inspector/SideWindowPalette.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(InspectorLayout, NameColumnIsAQuarterClampedTo96Through132) {
    EXPECT_EQ(InspectorNameColumnWidth(300), 96);   // 75 clamped up
    EXPECT_EQ(InspectorNameColumnWidth(480), 120);
    EXPECT_EQ(InspectorNameColumnWidth(483.9f), 120);  // whole DIPs, integer division
    EXPECT_EQ(InspectorNameColumnWidth(600), 132);  // 150 clamped down
    EXPECT_EQ(InspectorNameColumnWidth(0), 96);
}

TEST(InspectorLayout, PixelsToDipsTreatsDpiZeroAs96) {
    EXPECT_FLOAT_EQ(PixelsToDips(300, 0), 300);
    EXPECT_FLOAT_EQ(PixelsToDips(300, 96), 300);
    EXPECT_FLOAT_EQ(PixelsToDips(300, 144), 200);
    EXPECT_FLOAT_EQ(PixelsToDips(384, 192), 192);
}

TEST(InspectorLayout, ClicksInTheValueColumnSelectTheirRow) {
    const float width = 480;  // name column 120
    EXPECT_EQ(InspectorRowAt(120, 38, width, 11), 0);
    EXPECT_EQ(InspectorRowAt(300, 38 + 36 - 0.01f, width, 11), 0);
    EXPECT_EQ(InspectorRowAt(300, 38 + 36, width, 11), 1);
    EXPECT_EQ(InspectorRowAt(479.5f, 38 + 36 * 10 + 1, width, 11), 10);
}

TEST(InspectorLayout, ClicksOutsideTheValueCellsSelectNothing) {
    const float width = 480;
    EXPECT_EQ(InspectorRowAt(119.9f, 100, width, 11), -1);      // name column
    EXPECT_EQ(InspectorRowAt(300, 37.9f, width, 11), -1);       // header
    EXPECT_EQ(InspectorRowAt(300, 38 + 36 * 11, width, 11), -1);  // below the last row
    EXPECT_EQ(InspectorRowAt(480, 100, width, 11), -1);         // right of the client area
    EXPECT_EQ(InspectorRowAt(300, 38 + 36 * 3, width, 3), -1);  // fewer values than rows
    EXPECT_EQ(InspectorRowAt(300, 50, width, 0), -1);
}

TEST(InspectorLayout, SelectionFollowsShorterResults) {
    EXPECT_EQ(ClampInspectorSelection(10, 11), 10);
    EXPECT_EQ(ClampInspectorSelection(10, 4), 3);
    EXPECT_EQ(ClampInspectorSelection(11, 11), 10);
    EXPECT_EQ(ClampInspectorSelection(2, 0), -1);
    EXPECT_EQ(ClampInspectorSelection(-1, 11), -1);
    EXPECT_EQ(ClampInspectorSelection(-1, 0), -1);
}

TEST(InspectorLayout, WidthNeverFallsBelow420AfterAResize) {
    EXPECT_EQ(InspectorWidthAfterResize(300), 420);
    EXPECT_EQ(InspectorWidthAfterResize(420), 420);
    EXPECT_EQ(InspectorWidthAfterResize(421), 421);
    EXPECT_EQ(InspectorWidthAfterResize(900), 900);
}

TEST(SideWindowPalette, ColoursPerTheme) {
    const SideWindowPalette light = SideWindowPaletteFor(Theme::Light);
    EXPECT_EQ(light.background, (Rgb{0xFA, 0xFA, 0xFA}));
    EXPECT_EQ(light.header, (Rgb{0xE0, 0xE8, 0xF2}));
    EXPECT_EQ(light.grid, (Rgb{0xC2, 0xC6, 0xCD}));
    EXPECT_EQ(light.text, (Rgb{0x20, 0x20, 0x20}));
    EXPECT_EQ(light.selection, (Rgb{0xD6, 0xE4, 0xF6}));
    const SideWindowPalette blue = SideWindowPaletteFor(Theme::DarkBlue);
    EXPECT_EQ(blue.background, (Rgb{0x0F, 0x14, 0x1C}));
    EXPECT_EQ(blue.header, (Rgb{0x2A, 0x47, 0x6E}));
    EXPECT_EQ(blue.grid, (Rgb{0x3C, 0x46, 0x52}));
    EXPECT_EQ(blue.text, (Rgb{0xE6, 0xED, 0xF3}));
    EXPECT_EQ(blue.selection, (Rgb{0x20, 0x34, 0x4F}));
    const SideWindowPalette black = SideWindowPaletteFor(Theme::Black);
    EXPECT_EQ(black.background, (Rgb{0x11, 0x11, 0x11}));
    EXPECT_EQ(black.header, (Rgb{0x2D, 0x2D, 0x2D}));
    EXPECT_EQ(black.grid, (Rgb{0x48, 0x48, 0x48}));
    EXPECT_EQ(black.text, (Rgb{0xF3, 0xF3, 0xF3}));
    EXPECT_EQ(black.selection, (Rgb{0x38, 0x38, 0x38}));
}

TEST(SideWindowPalette, UnknownThemesAreLight) {
    const SideWindowPalette light = SideWindowPaletteFor(Theme::Light);
    for (const int value : {-1, 3, 100}) {
        const SideWindowPalette palette = SideWindowPaletteFor(static_cast<Theme>(value));
        EXPECT_EQ(palette.background, light.background) << value;
        EXPECT_EQ(palette.selection, light.selection) << value;
    }
}

}  // namespace
}  // namespace tvx
