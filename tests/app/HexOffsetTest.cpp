#include "app/HexOffset.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(ParseHexOffset, AcceptsDigitsWithOrWithoutPrefixAndBlanks) {
    for (const char16_t* text : {u"1F", u"1f", u"0x1F", u"0X1f", u" \t1F\r\n", u"  0x1F  ", u"001F"})
        EXPECT_EQ(ParseHexOffset(text), 31u) << std::u16string(text).size();
    EXPECT_EQ(ParseHexOffset(u"100"), 256u);  // never decimal
    EXPECT_EQ(ParseHexOffset(u"0"), 0u);
    EXPECT_EQ(ParseHexOffset(u"FFFFFFFFFFFFFFFF"), ~std::uint64_t{0});
}

TEST(ParseHexOffset, RefusesWhatIsNotOneWholeNumber) {
    for (const char16_t* text : {u"", u"   ", u"0x", u"0X", u" 0x ", u"1F 20", u"1FG", u"1.5", u"x1F", u"0x0x",
                                 u"-", u"+", u"10000000000000000", u"1FFFFFFFFFFFFFFFF"})
        EXPECT_FALSE(ParseHexOffset(text)) << std::u16string(text).size();
}

TEST(ParseHexOffset, ReadsSignsAndASecondPrefixLikeTheCLibrary) {
    EXPECT_EQ(ParseHexOffset(u"+1F"), 31u);
    EXPECT_EQ(ParseHexOffset(u"-1"), ~std::uint64_t{0});
    EXPECT_EQ(ParseHexOffset(u"0x0x1F"), 31u);
    EXPECT_EQ(ParseHexOffset(u"-0x10"), ~std::uint64_t{0} - 15);
    EXPECT_EQ(ParseHexOffset(u"0x\v1F"), 31u);  // white space the trim keeps, the conversion skips
}

TEST(FormatHexOffset, CapitalsWithoutLeadingZeros) {
    EXPECT_EQ(FormatHexOffset(0), u"0");
    EXPECT_EQ(FormatHexOffset(0x1F), u"1F");
    EXPECT_EQ(FormatHexOffset(~std::uint64_t{0}), u"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(ParseHexOffset(FormatHexOffset(0xABCDEF0123)), 0xABCDEF0123u);
}

}  // namespace
}  // namespace tvx
