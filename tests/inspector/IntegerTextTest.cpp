#include "inspector/IntegerText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tvx {
namespace {

TEST(IntegerText, PrefixedHexIsCapitalAndZeroPadded) {
    EXPECT_EQ(FormatPrefixedHex(1, 16), u"0x0000000000000001");
    EXPECT_EQ(FormatPrefixedHex(0, 2), u"0x00");
    EXPECT_EQ(FormatPrefixedHex(0xABCDEF, 8), u"0x00ABCDEF");
    EXPECT_EQ(FormatPrefixedHex(std::numeric_limits<std::uint64_t>::max(), 16), u"0xFFFFFFFFFFFFFFFF");
}

TEST(IntegerText, PrefixedHexNeverCutsAValue) {
    EXPECT_EQ(FormatPrefixedHex(0x1234, 2), u"0x1234");
    EXPECT_EQ(FormatPrefixedHex(0xAB, 0), u"0xAB");
}

TEST(IntegerText, HexAndDecimal) {
    EXPECT_EQ(FormatHexAndDecimal(65, 2), u"0x41 / 65");
    EXPECT_EQ(FormatHexAndDecimal(1, 16), u"0x0000000000000001 / 1");
    EXPECT_EQ(FormatHexAndDecimal(0, 4), u"0x0000 / 0");
    EXPECT_EQ(FormatHexAndDecimal(std::numeric_limits<std::uint64_t>::max(), 16),
              u"0xFFFFFFFFFFFFFFFF / 18446744073709551615");
}

}  // namespace
}  // namespace tvx
