#include "structpattern/ValueText.h"
#include "tests/structpattern/PatternTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

namespace tvx::test {
namespace {

std::string Integer(const Bytes& bytes, ByteOrder order, NumericBase base) {
    return Narrow(FormatIntegerValue(bytes.data(), bytes.size(), order, base));
}

TEST(FormatIntegerValue, AssemblesInEitherOrder) {
    const Bytes b = {0x34, 0x12};
    EXPECT_EQ(Integer(b, ByteOrder::Little, NumericBase::Hex), "0x1234");
    EXPECT_EQ(Integer(b, ByteOrder::Big, NumericBase::Hex), "0x3412");
    EXPECT_EQ(Integer(b, ByteOrder::Little, NumericBase::Dec), "4660");
    EXPECT_EQ(Integer({0xFF, 0}, ByteOrder::Big, NumericBase::Hex), "0xFF00");
    EXPECT_EQ(Integer({0, 0xFF}, ByteOrder::Big, NumericBase::Hex), "0x00FF");
    EXPECT_EQ(Integer({0xFF}, ByteOrder::Little, NumericBase::Dec), "255");  // always unsigned
    EXPECT_EQ(Integer(Bytes(8, 0xFF), ByteOrder::Little, NumericBase::Dec), "18446744073709551615");
    EXPECT_EQ(Integer({1, 0, 0}, ByteOrder::Little, NumericBase::Hex), "0x000001");
    EXPECT_EQ(Integer({}, ByteOrder::Little, NumericBase::Hex), "");
}

TEST(FormatIntegerValue, WiderThanEightBytesIsRawHex) {
    Bytes b(16);
    for (int i = 0; i < 16; ++i) b[i] = static_cast<std::uint8_t>(i + 1);
    const std::string expected = "0x01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10";
    EXPECT_EQ(Integer(b, ByteOrder::Big, NumericBase::Dec), expected);
    EXPECT_EQ(Integer(b, ByteOrder::Little, NumericBase::Hex), expected);
}

TEST(FormatIntegerValue, AgreesWithAPlainModel) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 2000; ++round) {
        const std::size_t n = 1 + random() % 8;
        Bytes b(n);
        for (auto& byte : b) byte = static_cast<std::uint8_t>(random());
        unsigned long long little = 0, big = 0;
        for (std::size_t i = 0; i < n; ++i) {
            little |= static_cast<unsigned long long>(b[i]) << (8 * i);
            big = (big << 8) | b[i];
        }
        char text[40];
        std::snprintf(text, sizeof text, "0x%0*llX", static_cast<int>(2 * n), big);
        EXPECT_EQ(Integer(b, ByteOrder::Big, NumericBase::Hex), text);
        EXPECT_EQ(Integer(b, ByteOrder::Little, NumericBase::Dec), std::to_string(little));
    }
}

std::string Float(const Bytes& bytes, FieldKind kind, ByteOrder order, NumericBase base = NumericBase::Hex) {
    return Narrow(FormatFloatValue(bytes.data(), bytes.size(), kind, StructValueFormat{ByteArrayFormat::Hex, order, base}));
}

TEST(FormatFloatValue, WritesLikePercentG) {
    EXPECT_EQ(Float({0, 0, 0xC0, 0x3F}, FieldKind::Float, ByteOrder::Little), "1.5 (0x3FC00000)");
    EXPECT_EQ(Float({0x3F, 0xC0, 0, 0}, FieldKind::Float, ByteOrder::Big), "1.5 (0x3FC00000)");
    EXPECT_EQ(Float({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F}, FieldKind::Double, ByteOrder::Little),
              "0.1 (0x3FB999999999999A)");
    EXPECT_EQ(Float({0x42, 0x02, 0xA0, 0x5F, 0x20, 0, 0, 0}, FieldKind::Double, ByteOrder::Big),
              "1e+10 (0x4202A05F20000000)");
    EXPECT_EQ(Float({0, 0, 0x80, 0xFF}, FieldKind::Float, ByteOrder::Little), "-inf (0xFF800000)");
    // Sizes changed by the directives are shown as integers.
    EXPECT_EQ(Float({1, 0, 0, 0, 0, 0, 0, 0}, FieldKind::Float, ByteOrder::Little, NumericBase::Dec), "1");
    EXPECT_EQ(Float({1, 0}, FieldKind::Float, ByteOrder::Little), "0x0001");
    EXPECT_EQ(Float({0, 0, 0x80, 0x3F}, FieldKind::Double, ByteOrder::Little), "0x3F800000");
}

TEST(FormatFloatValue, AgreesWithPrintfForRandomBits) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 5000; ++round) {
        const std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, 8);
        if (value != value) continue;  // NaN texts differ between C libraries
        Bytes b(8);
        for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
        char text[64];
        std::snprintf(text, sizeof text, "%g (0x%016llX)", value, static_cast<unsigned long long>(bits));
        EXPECT_EQ(Float(b, FieldKind::Double, ByteOrder::Little), text);
    }
}

TEST(FormatByteTexts, HexArraysAndCharacters) {
    const Bytes hi = {0x48, 0x69, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Narrow(FormatHexBytes(hi.data(), 8)), "48 69 00 00 00 00 00 00");
    EXPECT_EQ(Narrow(FormatHexBytes(hi.data(), 0)), "");
    EXPECT_EQ(Narrow(FormatByteArray(hi.data(), 8)), "48 69 00 00 00 00 00 00");
    EXPECT_EQ(Narrow(FormatByteArray(hi.data(), 0)), "0 bytes");
    const Bytes twenty(20, 0xAB);
    EXPECT_EQ(Narrow(FormatByteArray(twenty.data(), 16)), "AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB");
    EXPECT_EQ(Narrow(FormatByteArray(twenty.data(), 20)), "AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB AB ...");

    EXPECT_EQ(Narrow(FormatCharArray(hi.data(), 8)), "\"Hi\"");
    EXPECT_EQ(Narrow(FormatCharArray(hi.data(), 0)), "0 bytes");
    const Bytes abc = {0x41, 0x42, 0x43, 0};
    EXPECT_EQ(Narrow(FormatCharArray(abc.data(), 4)), "\"ABC\"");
    EXPECT_EQ(Narrow(FormatCharArray(abc.data(), 3)), "\"ABC\"");
    const Bytes lineFeed = {0x41, 0x42, 0x0A};
    EXPECT_EQ(Narrow(FormatCharArray(lineFeed.data(), 3)), "\"AB...\"");
    const Bytes high = {0x41, 0x80};
    EXPECT_EQ(Narrow(FormatCharArray(high.data(), 2)), "\"A...\"");
    EXPECT_EQ(Narrow(FormatCharArray(hi.data() + 2, 1)), "\"\"");
    const Bytes letters(70, 'x');
    EXPECT_EQ(Narrow(FormatCharArray(letters.data(), 64)), "\"" + std::string(64, 'x') + "\"");
    EXPECT_EQ(Narrow(FormatCharArray(letters.data(), 65)), "\"" + std::string(64, 'x') + "...\"");
}

TEST(FormatOffsetText, HexWithoutLeadingZeros) {
    EXPECT_EQ(Narrow(FormatOffsetText(0, 0)), "0x0");
    EXPECT_EQ(Narrow(FormatOffsetText(0x100, 0xA0)), "0x1A0");
    EXPECT_EQ(Narrow(FormatOffsetText(0xFFFFFFFFFFFFFFFF, 0)), "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(Narrow(FormatOffsetText(0xFFFFFFFFFFFFFFFF, 2)), "0x10000000000000001");
}

}  // namespace
}  // namespace tvx::test
