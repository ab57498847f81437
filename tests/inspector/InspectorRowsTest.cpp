#include "inspector/InspectorRows.h"

#include <gtest/gtest.h>

#include <vector>

namespace tvx {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char16_t kUnavailable[] = u"n/a";

std::u16string Row(const InspectorValues& values, InspectorRow row) { return values[static_cast<std::size_t>(row)]; }

TEST(InspectorRows, AllRowsOfEightLetters) {
    const InspectorValues values = ComputeInspectorRows(Bytes{0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48}, kUnavailable);
    const InspectorValues expected = {
        u"0b0100_0001",
        u"0x41 / 65",
        u"0x4241 / 16961",
        u"0x4142 / 16706",
        u"0x44434241 / 1145258561",
        u"0x41424344 / 1094861636",
        u"0x4847464544434241 / 5208208757389214273",
        u"0x4142434445464748 / 4702394921427289928",
        u"A (U+0041)",
        // Letters as bytes are no plausible UTF-16 text in either byte order.
        kUnavailable,
        kUnavailable,
    };
    EXPECT_EQ(values, expected);
}

TEST(InspectorRows, NoBytesMakeEveryRowUnavailable) {
    const InspectorValues values = ComputeInspectorRows({}, u"--");
    for (const std::u16string& value : values) EXPECT_EQ(value, u"--");
}

TEST(InspectorRows, OneByteAtTheEnd) {
    const InspectorValues values = ComputeInspectorRows(Bytes{0xFF}, kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::Binary), u"0b1111_1111");
    EXPECT_EQ(Row(values, InspectorRow::UInt8), u"0xFF / 255");
    for (std::size_t row = 2; row < kInspectorRowCount; ++row) EXPECT_EQ(values[row], kUnavailable) << row;
}

// Each integer row appears exactly when its bytes are all there, and then reads only them.
TEST(InspectorRows, IntegerRowsNeedTheirWidth) {
    const Bytes bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88, 0x99};
    struct Expected {
        InspectorRow row;
        std::size_t width;
        const char16_t* text;
    };
    const Expected rows[] = {
        {InspectorRow::UInt8, 1, u"0x01 / 1"},
        {InspectorRow::UInt16Le, 2, u"0x0201 / 513"},
        {InspectorRow::UInt16Be, 2, u"0x0102 / 258"},
        {InspectorRow::UInt32Le, 4, u"0x04030201 / 67305985"},
        {InspectorRow::UInt32Be, 4, u"0x01020304 / 16909060"},
        {InspectorRow::UInt64Le, 8, u"0x8807060504030201 / 9801809732607083009"},
        {InspectorRow::UInt64Be, 8, u"0x0102030405060788 / 72623859790382984"},
    };
    for (std::size_t count = 1; count <= bytes.size(); ++count) {
        const InspectorValues values = ComputeInspectorRows(std::span(bytes.data(), count), kUnavailable);
        for (const Expected& expected : rows)
            EXPECT_EQ(Row(values, expected.row), count >= expected.width ? expected.text : kUnavailable)
                << "row " << static_cast<int>(expected.row) << ", " << count << " bytes";
    }
}

TEST(InspectorRows, BinaryRowShowsTheBitsInTwoGroups) {
    EXPECT_EQ(Row(ComputeInspectorRows(Bytes{0x00}, kUnavailable), InspectorRow::Binary), u"0b0000_0000");
    EXPECT_EQ(Row(ComputeInspectorRows(Bytes{0xA5}, kUnavailable), InspectorRow::Binary), u"0b1010_0101");
    EXPECT_EQ(Row(ComputeInspectorRows(Bytes{0x0F}, kUnavailable), InspectorRow::Binary), u"0b0000_1111");
}

TEST(InspectorRows, LargestValuesAreUnsigned) {
    const InspectorValues values = ComputeInspectorRows(Bytes(8, 0xFF), kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::UInt8), u"0xFF / 255");
    EXPECT_EQ(Row(values, InspectorRow::UInt16Be), u"0xFFFF / 65535");
    EXPECT_EQ(Row(values, InspectorRow::UInt32Le), u"0xFFFFFFFF / 4294967295");
    EXPECT_EQ(Row(values, InspectorRow::UInt64Le), u"0xFFFFFFFFFFFFFFFF / 18446744073709551615");
}

TEST(InspectorRows, CharacterRows) {
    // "A\0B\0C\0D\0": UTF-8 'A', little-endian UTF-16 'A'; read big-endian the units are U+4100...,
    // which is no plausible text.
    InspectorValues values = ComputeInspectorRows(Bytes{0x41, 0, 0x42, 0, 0x43, 0, 0x44, 0}, kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::Utf8), u"A (U+0041)");
    EXPECT_EQ(Row(values, InspectorRow::Utf16Le), u"A (U+0041)");
    EXPECT_EQ(Row(values, InspectorRow::Utf16Be), kUnavailable);

    values = ComputeInspectorRows(Bytes{0, 0x41, 0, 0x20, 0, 0x42}, kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::Utf8), kUnavailable);  // a zero byte is never a character
    EXPECT_EQ(Row(values, InspectorRow::Utf16Le), kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::Utf16Be), u"A (U+0041)");

    // An undecodable character leaves the other rows alone.
    values = ComputeInspectorRows(Bytes{0xC3, 0x28}, kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::Utf8), kUnavailable);
    EXPECT_EQ(Row(values, InspectorRow::UInt16Be), u"0xC328 / 49960");
}

}  // namespace
}  // namespace tvx
