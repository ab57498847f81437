#include "hexview/RowCells.h"
#include "platform/Utf8.h"
#include "tests/hexview/HexViewFakes.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Cells = TextCells;

Cells Utf8Row(const Bytes& bytes, std::uint64_t rowOffset, std::size_t count) {
    MemoryDocument document(bytes);
    return DecodeUtf8Cells(document, rowOffset, count);
}

TEST(AsciiCells, PrintableBytesShowAndOthersAreDots) {
    EXPECT_EQ(DecodeAsciiCells(Bytes{0x41, 0x00, 0x7F, 0x20, 0x7E, 0x80}), (Cells{u"A", u".", u".", u" ", u"~", u"."}));
}

TEST(Utf8Cells, CharacterShowsInTheCellOfItsFirstByte) {
    EXPECT_EQ(Utf8Row({0xC3, 0xA9}, 0, 2), (Cells{u"\u00E9", u""}));
    EXPECT_EQ(Utf8Row({0x41, 0xE3, 0x81, 0x82, 0x42}, 0, 5), (Cells{u"A", u"\u3042", u"", u"", u"B"}));
    EXPECT_EQ(Utf8Row({0xF0, 0x9F, 0x98, 0x80}, 0, 4), (Cells{u"\U0001F600", u"", u"", u""}));
}

TEST(Utf8Cells, CharacterCrossingARowBoundary) {
    Bytes bytes(32, 0x41);
    bytes[14] = 0xE3;
    bytes[15] = 0x81;
    bytes[16] = 0x82;
    const Cells row0 = Utf8Row(bytes, 0, 16);
    EXPECT_EQ(row0[14], u"\u3042");
    EXPECT_EQ(row0[15], u"");
    const Cells row1 = Utf8Row(bytes, 16, 16);
    EXPECT_EQ(row1[0], u"");
    EXPECT_EQ(row1[1], u"A");  // the next character starts at offset 17
}

TEST(Utf8Cells, RowStartingInsideACharacterLeavesItsContinuationCellsEmpty) {
    Bytes bytes(20, 0x41);
    bytes[15] = 0xF0;
    bytes[16] = 0x9F;
    bytes[17] = 0x98;
    bytes[18] = 0x80;
    const Cells row1 = Utf8Row(bytes, 16, 4);
    EXPECT_EQ(row1, (Cells{u"", u"", u"", u"A"}));
}

TEST(Utf8Cells, CombiningMarksJoinTheirBase) {
    EXPECT_EQ(Utf8Row({0x65, 0xCC, 0x81}, 0, 3), (Cells{u"e\u0301", u"", u""}));
    // U+0591 (Hebrew accent) is not on the fixed list: the system's classes find it.
    EXPECT_EQ(Utf8Row({0x61, 0xD6, 0x91}, 0, 3), (Cells{u"a\u0591", u"", u""}));
    // Two marks on one base.
    EXPECT_EQ(Utf8Row({0x61, 0xCC, 0x81, 0xCC, 0xA3}, 0, 5), (Cells{u"a\u0301\u0323", u"", u"", u"", u""}));
}

TEST(Utf8Cells, MarkWithNothingToJoinTakesItsOwnCell) {
    EXPECT_EQ(Utf8Row({0xCC, 0x81, 0x41}, 0, 3), (Cells{u"\u0301", u"", u"A"}));
    // Its base in the row above does not count.
    const Cells row1 = Utf8Row({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x65, 0xCC, 0x81}, 16, 2);
    EXPECT_EQ(row1, (Cells{u"\u0301", u""}));
}

TEST(Utf8Cells, PrecomposedLettersAndSpacingAccentsAreNotMarks) {
    // "cafe" with a precomposed e-acute, and "a^b": every character keeps its own cell.
    EXPECT_EQ(Utf8Row({0x66, 0xC3, 0xA9}, 0, 3), (Cells{u"f", u"\u00E9", u""}));
    EXPECT_EQ(Utf8Row({0x61, 0x5E, 0x62}, 0, 3), (Cells{u"a", u"^", u"b"}));
    // Voiced kana: "ござ" is two characters.
    EXPECT_EQ(Utf8Row({0xE3, 0x81, 0x94, 0xE3, 0x81, 0x96}, 0, 6), (Cells{u"\u3054", u"", u"", u"\u3056", u"", u""}));
}

TEST(Utf8Cells, InvalidBytesAreDotsAndDecodingResynchronises) {
    EXPECT_EQ(Utf8Row({0xC0, 0x80}, 0, 2), (Cells{u".", u"."}));  // overlong
    EXPECT_EQ(Utf8Row({0x80}, 0, 1), (Cells{u"."}));
    EXPECT_EQ(Utf8Row({0x09}, 0, 1), (Cells{u"."}));
    EXPECT_EQ(Utf8Row({0xED, 0xA0, 0x80}, 0, 3), (Cells{u".", u".", u"."}));  // encoded surrogate
    EXPECT_EQ(Utf8Row({0xE3, 0x81, 0x41}, 0, 3), (Cells{u".", u".", u"A"}));  // truncated
    EXPECT_EQ(Utf8Row({0xF8, 0x41}, 0, 2), (Cells{u".", u"A"}));
}

TEST(Utf8Cells, TruncatedAtTheDocumentEnd) {
    EXPECT_EQ(Utf8Row({0x41, 0xE3, 0x81}, 0, 3), (Cells{u"A", u".", u"."}));
}

TEST(Utf8Cells, ControlCharacterSequencesAreOneDot) {
    // U+0085 (a C1 control) encoded in two bytes is still printable per the unit rule.
    EXPECT_EQ(Utf8Row({0xC2, 0x85}, 0, 2), (Cells{u"\u0085", u""}));
    EXPECT_EQ(Utf8Row({0x7F, 0x41}, 0, 2), (Cells{u".", u"A"}));
}

// Property: text made of characters that are not marks shows each character once, in the
// cell of its first byte, for any row split.
TEST(Utf8Cells, RandomTextShowsEveryCharacterOnceInItsFirstCell) {
    std::mt19937 random(7);
    const char32_t pool[] = {U'A', U'z', U'~', 0xE9, 0x3B1, 0x3042, 0x30AB, 0x4E9C, 0xFF21, 0x1F600, 0x20BB7};
    for (int round = 0; round < 50; ++round) {
        std::u16string text;
        std::vector<std::uint64_t> starts;
        Bytes bytes;
        for (int n = 0; n < 40; ++n) {
            const char32_t c = pool[random() % std::size(pool)];
            std::u16string unit = c > 0xFFFF ? std::u16string{static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                                                              static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))}
                                             : std::u16string(1, static_cast<char16_t>(c));
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

TEST(Utf16Cells, UnitsShowInTheirFirstByte) {
    EXPECT_EQ(DecodeUtf16Cells(Bytes{0x41, 0x00, 0x42, 0x00}, true), (Cells{u"A", u"", u"B", u""}));
    EXPECT_EQ(DecodeUtf16Cells(Bytes{0x30, 0x42, 0x00, 0x41}, false), (Cells{u"\u3042", u"", u"A", u""}));
}

TEST(Utf16Cells, SurrogatesControlsMarksAndNoncharactersAreDots) {
    EXPECT_EQ(DecodeUtf16Cells(Bytes{0x3D, 0xD8, 0x00, 0xDE}, true), (Cells{u".", u"", u".", u""}));
    EXPECT_EQ(DecodeUtf16Cells(Bytes{0x01, 0x03}, true), (Cells{u".", u""}));  // U+0301
    EXPECT_EQ(DecodeUtf16Cells(Bytes{0x7F, 0x00, 0x0A, 0x00, 0xFF, 0xFF, 0xFE, 0xFF}, true),
              (Cells{u".", u"", u".", u"", u".", u"", u".", u""}));
    EXPECT_EQ(DecodeUtf16Cells(Bytes{0xFD, 0xFF, 0x80, 0x00}, true), (Cells{u"\uFFFD", u"", u"\u0080", u""}));
}

TEST(Utf16Cells, LoneLastByteIsADot) {
    Bytes bytes(15, 0x41);
    const Cells cells = DecodeUtf16Cells(bytes, true);
    EXPECT_EQ(cells[14], u".");
    EXPECT_EQ(cells[13], u"");
}

TEST(CombiningMarks, FixedList) {
    for (char32_t cp : {0x300, 0x36F, 0x483, 0x489, 0x1AB0, 0x1AFF, 0x1DC0, 0x1DFF, 0x20D0, 0x20FF, 0x3099, 0x309A,
                        0xFE00, 0xFE0F, 0xFE20, 0xFE2F, 0xE0100, 0xE01EF, 0x200D})
        EXPECT_TRUE(IsCombiningMark(cp)) << std::hex << static_cast<unsigned>(cp);
    for (char32_t cp : {0x2FF, 0x370, 0x482, 0x48A, 0x309B, 0x200C, 0x200E, 0xFE10, 0xE00FF, 0xE01F0, 0x41})
        EXPECT_FALSE(IsCombiningMark(cp)) << std::hex << static_cast<unsigned>(cp);
}

}  // namespace
}  // namespace tvx::test
