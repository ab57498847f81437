#include "inspector/CharacterText.h"

#include <gtest/gtest.h>

#include <vector>

namespace tvx {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<std::u16string> Utf8(Bytes bytes) { return DecodeUtf8Character(bytes); }
std::optional<std::u16string> Utf16(Bytes bytes, bool littleEndian) { return DecodeUtf16Character(bytes, littleEndian); }

TEST(DecodeUtf8Character, OneCharacterOfEachLength) {
    EXPECT_EQ(Utf8({0x41}), u"A");
    EXPECT_EQ(Utf8({0xC3, 0xA9}), u"é");
    EXPECT_EQ(Utf8({0xE3, 0x81, 0x82}), u"あ");
    EXPECT_EQ(Utf8({0xF0, 0x9F, 0x98, 0x80}), u"\U0001F600");
    EXPECT_EQ(Utf8({0xF4, 0x8F, 0xBF, 0xBF}), u"\U0010FFFF");
    EXPECT_EQ(Utf8({0x41, 0xFF, 0xFF}), u"A");  // only the first character is read
    EXPECT_EQ(Utf8({0xC3, 0xA9, 0x80}), u"é");
}

TEST(DecodeUtf8Character, ZeroAndMissingBytesGiveNothing) {
    EXPECT_EQ(Utf8({}), std::nullopt);
    EXPECT_EQ(Utf8({0x00}), std::nullopt);
    EXPECT_EQ(Utf8({0x00, 0x41}), std::nullopt);
    EXPECT_EQ(Utf8({0xC3}), std::nullopt);
    EXPECT_EQ(Utf8({0xE3, 0x81}), std::nullopt);
    EXPECT_EQ(Utf8({0xF0, 0x9F, 0x98}), std::nullopt);
}

TEST(DecodeUtf8Character, IllFormedSequencesGiveNothing) {
    EXPECT_EQ(Utf8({0xC3, 0x28}), std::nullopt);        // no continuation byte
    EXPECT_EQ(Utf8({0xC3, 0x00}), std::nullopt);        // a zero byte inside
    EXPECT_EQ(Utf8({0xE3, 0x81, 0xC3}), std::nullopt);  // a lead byte inside
    EXPECT_EQ(Utf8({0x80, 0x80}), std::nullopt);        // a continuation byte first
    EXPECT_EQ(Utf8({0xBF}), std::nullopt);
    EXPECT_EQ(Utf8({0xF8, 0x88, 0x80, 0x80, 0x80}), std::nullopt);  // five-byte form
    EXPECT_EQ(Utf8({0xFF, 0x41}), std::nullopt);
    EXPECT_EQ(Utf8({0xC0, 0x80}), std::nullopt);              // overlong zero
    EXPECT_EQ(Utf8({0xC1, 0xBF}), std::nullopt);              // overlong DEL
    EXPECT_EQ(Utf8({0xE0, 0x80, 0x80}), std::nullopt);        // overlong three-byte form
    EXPECT_EQ(Utf8({0xF0, 0x80, 0x80, 0x80}), std::nullopt);  // overlong four-byte form
    EXPECT_EQ(Utf8({0xED, 0xA0, 0x80}), std::nullopt);        // encoded high surrogate
    EXPECT_EQ(Utf8({0xED, 0xBF, 0xBF}), std::nullopt);        // encoded low surrogate
    EXPECT_EQ(Utf8({0xF4, 0x90, 0x80, 0x80}), std::nullopt);  // above U+10FFFF
}

// The plausibility test sees the first 32 bytes; the samples carry a space to pass it on every
// platform, so that the decoder's own rules show.
TEST(DecodeUtf16Character, BothByteOrders) {
    EXPECT_EQ(Utf16({0x41, 0, 0x42, 0, 0x43, 0, 0x44, 0}, true), u"A");
    EXPECT_EQ(Utf16({0, 0x41, 0, 0x42, 0, 0x43, 0, 0x44}, false), u"A");
    EXPECT_EQ(Utf16({0x00, 0xD7, 0x20, 0x00, 0x41, 0x00}, true), u"\xD700");
    EXPECT_EQ(Utf16({0xD7, 0x00, 0x00, 0x20, 0x00, 0x41}, false), u"\xD700");
    EXPECT_EQ(Utf16({0, 0x41, 0, 0x42, 0}, false), u"A");  // an odd last byte stays out
}

TEST(DecodeUtf16Character, SurrogatePairs) {
    EXPECT_EQ(Utf16({0x3D, 0xD8, 0x00, 0xDE, 0x20, 0x00, 0x41, 0x00}, true), u"\U0001F600");
    EXPECT_EQ(Utf16({0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x20, 0x00, 0x41}, false), u"\U0001F600");
    // A high surrogate without its low one, and a low one on its own.
    EXPECT_EQ(Utf16({0x3D, 0xD8, 0x20, 0x00, 0x41, 0x00}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x3D, 0xD8, 0x3D, 0xD8, 0x20, 0x00, 0x41, 0x00}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x00, 0xDC, 0x20, 0x00, 0x41, 0x00}, true), std::nullopt);
    EXPECT_EQ(Utf16({0xDC, 0x00, 0x00, 0x20, 0x00, 0x41}, false), std::nullopt);
}

TEST(DecodeUtf16Character, ShortZeroAndImplausibleInput) {
    EXPECT_EQ(Utf16({}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x41}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x3D, 0xD8, 0x00}, true), std::nullopt);  // no room for the low surrogate
    EXPECT_EQ(Utf16({0x00, 0x00, 0x20, 0x00, 0x41, 0x00}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x00, 0xDC}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x41, 0x42, 0x43, 0x44}, true), std::nullopt);
    EXPECT_EQ(Utf16({0x41, 0x42, 0x43, 0x44}, false), std::nullopt);
}

TEST(DecodeUtf16Character, OnlyTheFirst32BytesAreTested) {
    Bytes bytes;
    for (int i = 0; i < 16; ++i) bytes.insert(bytes.end(), {0x41, 0x42});
    Bytes withSpace = bytes;
    withSpace[28] = 0x20;  // U+0020 as the 15th unit
    withSpace[29] = 0x00;
    EXPECT_EQ(DecodeUtf16Character(withSpace, true), u"\x4241");
    bytes.insert(bytes.end(), {0x20, 0x00});  // bytes 32 and 33
    EXPECT_EQ(DecodeUtf16Character(bytes, true), std::nullopt);
}

TEST(DescribeCharacter, NamedCharacters) {
    EXPECT_EQ(DescribeCharacter(u"\r"), u"CR (U+000D)");
    EXPECT_EQ(DescribeCharacter(u"\t"), u"TAB (U+0009)");
    EXPECT_EQ(DescribeCharacter(u"\n"), u"LF (U+000A)");
    EXPECT_EQ(DescribeCharacter(u"\v"), u"VT (U+000B)");
    EXPECT_EQ(DescribeCharacter(u"\f"), u"FF (U+000C)");
    EXPECT_EQ(DescribeCharacter(u" "), u"Space (U+0020)");
    EXPECT_EQ(DescribeCharacter(u"\x85"), u"NEL (U+0085)");
    EXPECT_EQ(DescribeCharacter(u"\xA0"), u"NBSP (U+00A0)");
    EXPECT_EQ(DescribeCharacter(u"\x3000"), u"Ideographic Space (U+3000)");
}

TEST(DescribeCharacter, OtherCharactersShowThemselves) {
    EXPECT_EQ(DescribeCharacter(u"A"), u"A (U+0041)");
    EXPECT_EQ(DescribeCharacter(u"é"), u"é (U+00E9)");
    EXPECT_EQ(DescribeCharacter(u"\xFFFF"), u"\xFFFF (U+FFFF)");
    EXPECT_EQ(DescribeCharacter(u"\U0001F600"), u"\U0001F600 (U+1F600)");
    EXPECT_EQ(DescribeCharacter(u"\U0010FFFF"), u"\U0010FFFF (U+10FFFF)");
    // Control characters without a name stay raw.
    EXPECT_EQ(DescribeCharacter(std::u16string(1, u'\0')), std::u16string(1, u'\0') + u" (U+0000)");
    EXPECT_EQ(DescribeCharacter(u"\x01"), u"\x01 (U+0001)");
    EXPECT_EQ(DescribeCharacter(u"\x1B"), u"\x1B (U+001B)");
    EXPECT_EQ(DescribeCharacter(u"\x7F"), u"\x7F (U+007F)");
    EXPECT_EQ(DescribeCharacter(u"\x9B"), u"\x9B (U+009B)");
}

TEST(DescribeCharacter, EmptyTextAndLoneSurrogatesStayAsTheyAre) {
    EXPECT_EQ(DescribeCharacter(u""), u"");
    EXPECT_EQ(DescribeCharacter(u"\xDC00"), u"\xDC00");
    EXPECT_EQ(DescribeCharacter(u"\xD83D"), u"\xD83D");
    EXPECT_EQ(DescribeCharacter(u"\xD83D" u"A"), u"\xD83D" u"A");
    EXPECT_EQ(DescribeCharacter(u"\xD83D\xD83D"), u"\xD83D\xD83D");
}

}  // namespace
}  // namespace tvx
