#include "structview/ValueFormatChoice.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(ValueFormatChoice, EachChoiceSetsOneOfTheThree) {
    const StructValueFormat start;  // hex, little, hex
    EXPECT_EQ(ApplyValueFormatChoice(start, 2)->byteArrayFormat, ByteArrayFormat::Ascii);
    EXPECT_EQ(ApplyValueFormatChoice(start, 4)->byteOrder, ByteOrder::Big);
    EXPECT_EQ(ApplyValueFormatChoice(start, 6)->numericBase, NumericBase::Dec);
    StructValueFormat all{ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Dec};
    EXPECT_TRUE(SameValueFormat(*ApplyValueFormatChoice(all, 1), {ByteArrayFormat::Hex, ByteOrder::Big, NumericBase::Dec}));
    EXPECT_TRUE(SameValueFormat(*ApplyValueFormatChoice(all, 3), {ByteArrayFormat::Ascii, ByteOrder::Little, NumericBase::Dec}));
    EXPECT_TRUE(SameValueFormat(*ApplyValueFormatChoice(all, 5), {ByteArrayFormat::Ascii, ByteOrder::Big, NumericBase::Hex}));
    for (const int outside : {0, 7, -1, 4201}) EXPECT_FALSE(ApplyValueFormatChoice(start, outside)) << outside;
}

// Exactly one item of each pair is checked, the one the format has.
TEST(ValueFormatChoice, CheckMarksFollowTheFormat) {
    for (const auto bytes : {ByteArrayFormat::Hex, ByteArrayFormat::Ascii})
        for (const auto order : {ByteOrder::Little, ByteOrder::Big})
            for (const auto base : {NumericBase::Hex, NumericBase::Dec}) {
                const StructValueFormat format{bytes, order, base};
                for (int pair = 0; pair < 3; ++pair) {
                    const bool first = IsValueFormatChoiceChecked(format, 2 * pair + 1);
                    const bool second = IsValueFormatChoiceChecked(format, 2 * pair + 2);
                    EXPECT_NE(first, second);
                    // Choosing the checked item changes nothing.
                    const int checked = first ? 2 * pair + 1 : 2 * pair + 2;
                    EXPECT_TRUE(SameValueFormat(*ApplyValueFormatChoice(format, checked), format));
                }
                EXPECT_EQ(IsValueFormatChoiceChecked(format, 2), bytes == ByteArrayFormat::Ascii);
                EXPECT_EQ(IsValueFormatChoiceChecked(format, 4), order == ByteOrder::Big);
                EXPECT_EQ(IsValueFormatChoiceChecked(format, 6), base == NumericBase::Dec);
            }
    EXPECT_FALSE(IsValueFormatChoiceChecked({}, 0));
    EXPECT_FALSE(IsValueFormatChoiceChecked({}, 7));
}

}  // namespace
}  // namespace tvx
