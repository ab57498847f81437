#include "platform/CharClass.h"

#include <gtest/gtest.h>

namespace tvx::platform {
namespace {

// The same verdicts from the system's tables on Windows and from the Unicode table elsewhere.
TEST(CharClass, NonspacingMarks) {
    for (char16_t c : {0x0301, 0x0323, 0x0591, 0x05BF, 0x0670, 0x093C, 0x094D, 0x0E31, 0x0E48, 0x1AB0, 0x20D0,
                       0x20E3, 0x302A, 0x3099, 0xFE00, 0xFE20, 0xFB1E})
        EXPECT_TRUE(IsNonspacingMark(std::u16string(1, c))) << std::hex << static_cast<unsigned>(c);
}

TEST(CharClass, LettersSymbolsAndPrecomposedCharactersAreNotMarks) {
    for (char16_t c : {0x0041, 0x005E, 0x0060, 0x00A8, 0x00B4, 0x00E9, 0x00C0, 0x1E00, 0x3042, 0x304C, 0x30AC,
                       0x309B, 0x4E00, 0x0E01, 0x200D, 0x0020})
        EXPECT_FALSE(IsNonspacingMark(std::u16string(1, c))) << std::hex << static_cast<unsigned>(c);
}

TEST(CharClass, SurrogatePairsAndEmptyTextHaveNoClass) {
    EXPECT_FALSE(IsNonspacingMark(u"\U0001D167"));  // a combining musical mark
    EXPECT_FALSE(IsNonspacingMark(u"\U000E0100"));
    EXPECT_FALSE(IsNonspacingMark(u""));
}

}  // namespace
}  // namespace tvx::platform
