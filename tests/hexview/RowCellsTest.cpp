#include "hexview/HexPalette.h"
#include "hexview/RowCells.h"
#include "tests/hexview/HexViewFakes.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FormatOffset, EightDigitsBelowFourGibibytesElseSixteen) {
    MemoryDocument small(Bytes(10));
    EXPECT_EQ(FormatOffset(&small, 0x12340), u"00012340:");
    EXPECT_EQ(FormatOffset(nullptr, 0), u"00000000:");
    MemoryDocument large;
    large.fakeSize_ = std::uint64_t{1} << 32;
    EXPECT_EQ(FormatOffset(&large, 0x12340), u"0000000000012340:");
    EXPECT_EQ(FormatOffset(&small, 0x123456789A), u"123456789A:");  // wider than the padding
}

TEST(BuildRowCells, HexCellsAreCapitalPairs) {
    MemoryDocument document(Bytes{0x00, 0x0A, 0xFF, 0x7E});
    const RowCells row = BuildRowCells(&document, 0, document.bytes_, TextEncoding::Ascii);
    EXPECT_EQ(row.offsetText, u"00000000:");
    EXPECT_EQ(row.hexCells, (std::vector<std::u16string>{u"00", u"0A", u"FF", u"7E"}));
    EXPECT_EQ(row.textCells, (TextCells{u".", u".", u".", u"~"}));
}

TEST(BuildRowCells, EncodingChoosesTheDecoder) {
    const Bytes bytes{0xC3, 0xA9, 0x41, 0x00};
    MemoryDocument document(bytes);
    EXPECT_EQ(BuildRowCells(&document, 0, bytes, TextEncoding::Utf8).textCells, (TextCells{u"\u00E9", u"", u"A", u"."}));
    EXPECT_EQ(BuildRowCells(&document, 0, bytes, TextEncoding::Utf16Le).textCells, (TextCells{u"\uA9C3", u"", u"A", u""}));
    EXPECT_EQ(BuildRowCells(&document, 0, bytes, TextEncoding::Utf16Be).textCells, (TextCells{u"\uC3A9", u"", u"\u4100", u""}));
    EXPECT_EQ(BuildRowCells(&document, 0, bytes, static_cast<TextEncoding>(9)).textCells, (TextCells{u".", u".", u"A", u"."}));
    EXPECT_EQ(BuildRowCells(nullptr, 0, bytes, TextEncoding::Utf8).textCells, (TextCells{u".", u".", u"A", u"."}));
}

TEST(HexPalette, ThemesAndTheLightFallback) {
    EXPECT_EQ(PaletteFor(Theme::Light).background, (Rgb{0xF6, 0xF4, 0xEF}));
    EXPECT_EQ(PaletteFor(Theme::DarkBlue).background, (Rgb{0x0D, 0x1B, 0x2A}));
    EXPECT_EQ(PaletteFor(Theme::Black).background, (Rgb{0x11, 0x11, 0x11}));
    EXPECT_EQ(PaletteFor(static_cast<Theme>(7)).background, PaletteFor(Theme::Light).background);
    EXPECT_FLOAT_EQ(PaletteFor(Theme::DarkBlue).selectionAlpha, 0.45f);
}

}  // namespace
}  // namespace tvx::test
