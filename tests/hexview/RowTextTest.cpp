// What a row shows and what a selection becomes: metrics, offsets, hex and text cells, match
// marks, copied text, and pasted or typed text as bytes.
#include "hexview/ClipboardText.h"
#include "hexview/HexPalette.h"
#include "hexview/MatchMarks.h"
#include "hexview/RowCells.h"
#include "platform/Utf8.h"
#include "tests/hexview/HexViewFakes.h"

#include <random>

namespace tvx::test {
namespace {

using Cells = TextCells;

HexMetrics Compute(FakeMeasurer& measurer, float zoom = 1.0f, std::uint64_t size = 100, float baseSize = 16) {
    HexMetrics metrics;
    metrics.baseFontSize = baseSize;
    ComputeMetrics(metrics, measurer, HexFont{u"Mono", true, false}, zoom, size);
    return metrics;
}

TEST(HexMetrics, CellsTakeTheWidestGlyphAndRowsTheLargestHeight) {
    FakeMeasurer measurer;
    measurer.wide = {{u':', 11.5f}, {u'W', 13.0f}, {u'a', 12.0f}, {u'0', 25.0f}};
    measurer.failing = u"0";  // skipped
    HexMetrics m = Compute(measurer, 1.5f, 4294967295ull);
    EXPECT_FLOAT_EQ(m.hexCellWidth, 11.5f);  // the colon is part of the hex grid, lower-case letters are not
    EXPECT_FLOAT_EQ(m.textCellWidth, 13.0f);
    EXPECT_FLOAT_EQ(m.offsetColumnWidth, 11.5f * 9);  // eight digits and a colon
    EXPECT_FLOAT_EQ(m.hexColumnWidth, 11.5f * 48);
    EXPECT_FLOAT_EQ(m.textColumnWidth, 13.0f * 16);
    EXPECT_FLOAT_EQ(m.fontSize, 24);  // zoom x base size
    EXPECT_FLOAT_EQ(measurer.preparedSize, 24);
    EXPECT_TRUE(measurer.preparedFont.bold);
    EXPECT_FLOAT_EQ(Compute(measurer, 1.0f, 4294967296ull).offsetColumnWidth, 11.5f * 17);  // sixteen digits
    EXPECT_EQ(OffsetDigits(0), 8);

    for (char16_t c = 0x20; c <= 0x7E; ++c) measurer.failing.push_back(c);
    m = Compute(measurer);
    EXPECT_FLOAT_EQ(m.hexCellWidth + m.textCellWidth, 2);  // at least one
    measurer.available = false;                            // without a text stack the fallbacks stand
    m = Compute(measurer);
    EXPECT_EQ((std::vector{m.rowHeight, m.hexCellWidth, m.textCellWidth, m.offsetColumnWidth, m.hexColumnWidth,
                           m.textColumnWidth, m.margin, m.columnGap}),
              (std::vector<float>{17, 8, 8, 0, 0, 0, 8, 12}));

    // The row height is the largest of line height + 0.15 x font size (at least 0.75), 1.35 x
    // font size and 17; a failed measurement counts as 17.
    const struct {
        std::optional<float> line;
        float zoom, base, row;
    } cases[] = {
        {19.6f, 1, 16, 22}, {10, 1, 16, 21.6f}, {5, 0.6f, 16, 17}, {20, 1, 4, 20.75f}, {std::nullopt, 1, 8, 18.2f},
    };
    for (const auto& c : cases) {
        FakeMeasurer plain;
        plain.lineHeight = c.line;
        EXPECT_FLOAT_EQ(Compute(plain, c.zoom, 0, c.base).rowHeight, c.row) << c.row;
    }
}

TEST(RowCells, OffsetsAndHexCells) {
    MemoryDocument small(Bytes(10)), large;
    large.claimedSize = std::uint64_t{1} << 32;
    EXPECT_EQ(FormatOffset(&small, 0x12340), u"00012340:");
    EXPECT_EQ(FormatOffset(nullptr, 0), u"00000000:");
    EXPECT_EQ(FormatOffset(&large, 0x12340), u"0000000000012340:");
    EXPECT_EQ(FormatOffset(&small, 0x123456789A), u"123456789A:");  // wider than the padding
    const RowCells row = BuildRowCells(&small, 0, Bytes{0xC3, 0x0A}, TextEncoding::Utf8);
    EXPECT_EQ(row.offsetText, u"00000000:");
    EXPECT_EQ(row.hexCells, (std::vector<std::u16string>{u"C3", u"0A"}));
    EXPECT_EQ(BuildRowCells(nullptr, 0, Bytes{0xC3, 0x41}, TextEncoding::Utf8).textCells, (Cells{u".", u"A"}));

    EXPECT_EQ(PaletteFor(Theme::Light).background, (Rgb{0xF6, 0xF4, 0xEF}));
    EXPECT_FALSE(PaletteFor(Theme::DarkBlue).background == PaletteFor(Theme::Black).background);
    EXPECT_EQ(PaletteFor(static_cast<Theme>(7)).background, PaletteFor(Theme::Light).background);
}

// A character shows in the cell of its first byte (in UTF-8 with its combining marks); a row
// starting inside a character leaves its cells empty; bytes of no printable character are dots.
TEST(RowCells, TextCellsOfEachEncoding) {
    using enum TextEncoding;
    const struct {
        TextEncoding encoding;
        Bytes bytes;
        Cells cells;
    } cases[] = {
        {Ascii, {0x41, 0x00, 0x7F, 0x20, 0x7E, 0x80}, {u"A", u".", u".", u" ", u"~", u"."}},
        {static_cast<TextEncoding>(9), {0xC3, 0xA9, 0x41}, {u".", u".", u"A"}},  // unknown: ASCII
        {Utf8, {0x65, 0xCC, 0x81}, {u"e\u0301", u"", u""}},
        {Utf8, {0x61, 0xD6, 0x91}, {u"a\u0591", u"", u""}},  // not on the fixed list: the system's classes
        {Utf8, {0x61, 0xCC, 0x81, 0xCC, 0xA3}, {u"a\u0301\u0323", u"", u"", u"", u""}},
        {Utf8, {0xCC, 0x81, 0x41}, {u"\u0301", u"", u"A"}},              // a mark with nothing to join
        {Utf8, {0x66, 0xC3, 0xA9, 0x5E}, {u"f", u"\u00E9", u"", u"^"}},  // precomposed and spacing: no marks
        {Utf8, {0xC0, 0x80, 0x80, 0x09, 0x7F}, {u".", u".", u".", u".", u"."}},  // overlong, stray, controls
        {Utf8, {0xED, 0xA0, 0x80}, {u".", u".", u"."}},                          // encoded surrogate
        {Utf8, {0xE3, 0x81, 0x41, 0xF8, 0x41}, {u".", u".", u"A", u".", u"A"}},  // truncated, resynchronised
        {Utf8, {0x41, 0xE3, 0x81}, {u"A", u".", u"."}},                          // truncated at the document end
        {Utf8, {0xC2, 0x85}, {u"\u0085", u""}},  // a C1 control in two bytes is printable per the unit rule
        {Utf16Le, {0xC3, 0xA9, 0x41, 0x00}, {u"\uA9C3", u"", u"A", u""}},
        {Utf16Be, {0xC3, 0xA9, 0x41, 0x00}, {u"\uC3A9", u"", u"\u4100", u""}},
        {Utf16Le, {0x3D, 0xD8, 0x00, 0xDE, 0x01, 0x03}, {u".", u"", u".", u"", u".", u""}},  // surrogates, a mark
        {Utf16Le, {0x7F, 0x00, 0x0A, 0x00, 0xFF, 0xFF, 0xFE, 0xFF}, {u".", u"", u".", u"", u".", u"", u".", u""}},
        {Utf16Le, {0xFD, 0xFF, 0x80, 0x00, 0x41}, {u"\uFFFD", u"", u"\u0080", u"", u"."}},
    };
    for (const auto& c : cases) {
        const MemoryDocument document(c.bytes);
        EXPECT_EQ(BuildRowCells(&document, 0, c.bytes, c.encoding).textCells, c.cells) << testing::PrintToString(c.bytes);
    }
    // From offset 13: a control in the context before row 1; e, and U+0301 in row 1, whose base in
    // the row above does not count; then a character from row 1 on.
    Bytes bytes(32, 0x41);
    const Bytes middle{0x00, 0x65, 0xCC, 0x81, 0xF0, 0x9F, 0x98, 0x80};
    std::copy(middle.begin(), middle.end(), bytes.begin() + 13);
    const MemoryDocument document(bytes);
    EXPECT_EQ(DecodeUtf8Cells(document, 0, 16)[14], u"e\u0301");
    EXPECT_EQ(DecodeUtf8Cells(document, 16, 6), (Cells{u"", u"\U0001F600", u"", u"", u"", u"A"}));
    for (char32_t cp : {0x300, 0x36F, 0x483, 0x489, 0x1AB0, 0x1AFF, 0x1DC0, 0x1DFF, 0x20D0, 0x20FF, 0x3099, 0x309A,
                        0xFE00, 0xFE0F, 0xFE20, 0xFE2F, 0xE0100, 0xE01EF, 0x200D})
        EXPECT_TRUE(IsCombiningMark(cp)) << std::hex << static_cast<unsigned>(cp);
    for (char32_t cp : {0x2FF, 0x370, 0x482, 0x48A, 0x309B, 0x200C, 0x200E, 0xFE10, 0xE00FF, 0xE01F0, 0x41})
        EXPECT_FALSE(IsCombiningMark(cp)) << std::hex << static_cast<unsigned>(cp);
}

// Property: text made of characters that are not marks shows each character once, in the
// cell of its first byte, for any row split.
TEST(RowCells, RandomUtf8TextShowsEveryCharacterOnceInItsFirstCell) {
    std::mt19937 random(7);
    const std::u16string pool[] = {u"A",      u"z",      u"~",      u"\u00E9",     u"\u03B1",    u"\u3042",
                                   u"\u30AB", u"\u4E9C", u"\uFF21", u"\U0001F600", u"\U00020BB7"};
    for (int round = 0; round < 50; ++round) {
        std::u16string text;
        std::vector<std::uint64_t> starts;
        Bytes bytes;
        for (int n = 0; n < 40; ++n) {
            const std::u16string& unit = pool[random() % std::size(pool)];
            starts.push_back(bytes.size());
            const std::string utf8 = platform::EncodeUtf8(unit);
            bytes.insert(bytes.end(), utf8.begin(), utf8.end());
            text += unit;
        }
        std::u16string shown;
        MemoryDocument document(bytes);
        for (std::uint64_t row = 0; row * 16 < bytes.size(); ++row) {
            const std::size_t count = std::min<std::size_t>(16, bytes.size() - row * 16);
            const Cells cells = DecodeUtf8Cells(document, row * 16, count);
            for (std::size_t i = 0; i < count; ++i) {
                const bool isStart = std::find(starts.begin(), starts.end(), row * 16 + i) != starts.end();
                EXPECT_EQ(cells[i].empty(), !isStart) << "offset " << row * 16 + i;
                shown += cells[i];
            }
        }
        EXPECT_EQ(shown, text);
    }
}

TEST(MatchMarks, AgreeWithANaiveScanOfTheWholeDocument) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 400; ++round) {
        Bytes bytes(random() % 200), pattern(random() % 5);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() % 2);
        for (auto& byte : pattern) byte = static_cast<std::uint8_t>(random() % 2);
        const MemoryDocument document(bytes);
        const std::uint64_t firstRow = random() % 14, rowCount = random() % 6;
        std::vector<bool> marked(bytes.size());
        for (std::size_t at = 0; !pattern.empty() && at + pattern.size() <= bytes.size(); ++at)
            if (std::equal(pattern.begin(), pattern.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at)))
                std::fill_n(marked.begin() + static_cast<std::ptrdiff_t>(at), pattern.size(), true);
        std::vector<std::uint16_t> expected;
        for (std::uint64_t row = firstRow; row < firstRow + rowCount && row * kBytesPerRow < bytes.size(); ++row) {
            std::uint16_t mask = 0;
            for (std::uint64_t i = 0; i < kBytesPerRow && row * kBytesPerRow + i < bytes.size(); ++i)
                if (marked[row * kBytesPerRow + i]) mask = static_cast<std::uint16_t>(mask | 1u << i);
            expected.push_back(mask);
        }
        EXPECT_EQ(MatchMasks(document, pattern, firstRow, rowCount), expected) << "round " << round;
    }
}

TEST(CopyFormat, EachFormatOfTheSameBytes) {
    using enum CopyFormat;
    Bytes thirteen(13);
    std::iota(thirteen.begin(), thirteen.end(), std::uint8_t{0xF4});
    const Bytes three{0x00, 0x0A, 0xFF};
    const std::tuple<Bytes, CopyFormat, std::u16string> cases[] = {
        {three, HexSpaced, u"00 0A FF"}, {{0x41}, HexSpaced, u"41"}, {three, HexCompact, u"000AFF"},
        {three, PythonBytes, u"b'\\x00\\x0a\\xff'"}, {{'\''}, PythonBytes, u"b'\\x27'"},
        {three, CArray, u"unsigned char data[3] = {\r\n    0x00, 0x0a, 0xff\r\n};"},
        {thirteen, CArray,
         u"unsigned char data[13] = {\r\n"
         u"    0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xfb, 0xfc, 0xfd, 0xfe, 0xff,\r\n"
         u"    0x00\r\n};"},
        {Bytes(thirteen.begin(), thirteen.begin() + 12), CArray,
         u"unsigned char data[12] = {\r\n"
         u"    0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xfb, 0xfc, 0xfd, 0xfe, 0xff\r\n};"},
        {{'f'}, Base64, u"Zg=="}, {{'f', 'o', 'o', 'b', 'a', 'r'}, Base64, u"Zm9vYmFy"}, {{0xFB, 0xFF}, Base64, u"+/8="},
    };
    for (const auto& [bytes, format, text] : cases) EXPECT_EQ(FormatCopyText(bytes, format), text);
}

// Pasted hex text gives its bytes, other text is encoded (none when it cannot be); a typed
// character gives the bytes of its encoding, the first half of a surrogate pair none yet.
TEST(ClipboardText, PastedAndTypedTextBecomeBytesOfTheEncoding) {
    using enum TextEncoding;
    const std::tuple<std::u16string, TextEncoding, std::optional<Bytes>> pasted[] = {
        {u"00 0A FF", Ascii, Bytes{0x00, 0x0A, 0xFF}}, {u"000aff", Utf8, Bytes{0x00, 0x0A, 0xFF}},
        {u"0x4D 0x5a\r\n90\t00\n", Ascii, Bytes{0x4D, 0x5A, 0x90, 0x00}}, {u"0x4D5A", Ascii, Bytes{0x4D, 0x5A}},
        {u"ABC", Ascii, Bytes{'A', 'B', 'C'}},  // odd digit count: text
        {u"0x", Ascii, Bytes{'0', 'x'}}, {u"Hi 41", Utf16Le, Bytes{'H', 0, 'i', 0, ' ', 0, '4', 0, '1', 0}},
        {u"Hi", Utf16Be, Bytes{0, 'H', 0, 'i'}}, {u"  \n", Ascii, Bytes{' ', ' ', '\n'}},
        {u"Hé\U0001F600", Utf8, Bytes{'H', 0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80}}, {u"é", Ascii, std::nullopt},
        {std::u16string(1, char16_t{0xD800}), Utf8, std::nullopt},
    };
    for (const auto& [text, encoding, bytes] : pasted) {
        const PasteBytes result = BytesToPaste(text, encoding);
        EXPECT_EQ(result.bytes, bytes.value_or(Bytes{})) << std::string(text.begin(), text.end());
        EXPECT_EQ(result.error, bytes ? PasteError::None : PasteError::NotEncodable);
    }
    EXPECT_EQ(BytesToPaste(u"", Utf8).error, PasteError::Empty);

    const struct {
        std::u16string units;
        TextEncoding encoding;
        std::optional<Bytes> last;  // what the last unit gives
    } cases[] = {
        {u"~", Ascii, Bytes{'~'}}, {u"é", Ascii, std::nullopt}, {u"\t", Utf8, std::nullopt},
        {u"\x7f", Utf16Le, std::nullopt}, {u"あ", Utf8, Bytes{0xE3, 0x81, 0x82}}, {u"あ", Utf16Be, Bytes{0x30, 0x42}},
        {u"\U0001F600", Utf8, Bytes{0xF0, 0x9F, 0x98, 0x80}}, {u"\U0001F600", Utf16Le, Bytes{0x3D, 0xD8, 0x00, 0xDE}},
        {std::u16string(1, char16_t{0xDE00}), Utf8, std::nullopt},
    };
    for (const auto& c : cases) {
        TypedText typed;
        std::optional<Bytes> last;
        for (std::size_t i = 0; i < c.units.size(); ++i) {
            last = typed.Take(c.units[i], c.encoding);
            EXPECT_TRUE(i + 1 == c.units.size() || last == Bytes{});  // the first half of a pair waits
        }
        EXPECT_EQ(last, c.last) << static_cast<int>(c.units[0]);
    }
}

}  // namespace
}  // namespace tvx::test
