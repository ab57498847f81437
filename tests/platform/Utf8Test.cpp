#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace tvx::platform {
namespace {

bool Rejects(std::string_view bytes) {
    std::u16string out = u"stale";
    const bool ok = DecodeUtf8Strict(bytes, out);
    return !ok && out.empty();
}

TEST(Utf8Strict, DecodesEveryWellFormedLength) {
    std::u16string out;
    ASSERT_TRUE(DecodeUtf8Strict("A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", out));
    EXPECT_EQ(out, u"A\u00E9\u3042\U0001F600");
    ASSERT_TRUE(DecodeUtf8Strict("", out));
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(DecodeUtf8Strict(std::string_view("a\0b", 3), out));
    EXPECT_EQ(out, std::u16string(u"a\0b", 3));
}

TEST(Utf8Strict, AcceptsTheBoundariesOfEachRange) {
    std::u16string out;
    EXPECT_TRUE(DecodeUtf8Strict("\xC2\x80", out));          // U+0080
    EXPECT_TRUE(DecodeUtf8Strict("\xDF\xBF", out));          // U+07FF
    EXPECT_TRUE(DecodeUtf8Strict("\xE0\xA0\x80", out));      // U+0800
    EXPECT_TRUE(DecodeUtf8Strict("\xED\x9F\xBF", out));      // U+D7FF
    EXPECT_TRUE(DecodeUtf8Strict("\xEE\x80\x80", out));      // U+E000
    EXPECT_TRUE(DecodeUtf8Strict("\xEF\xBF\xBF", out));      // U+FFFF
    EXPECT_TRUE(DecodeUtf8Strict("\xF0\x90\x80\x80", out));  // U+10000
    ASSERT_TRUE(DecodeUtf8Strict("\xF4\x8F\xBF\xBF", out));  // U+10FFFF
    EXPECT_EQ(out, u"\U0010FFFF");
}

TEST(Utf8Strict, RejectsIllFormedInput) {
    EXPECT_TRUE(Rejects("\x80"));                  // stray continuation byte
    EXPECT_TRUE(Rejects("A\xBF"));
    EXPECT_TRUE(Rejects("\xC3"));                  // truncated
    EXPECT_TRUE(Rejects("\xE3\x81"));
    EXPECT_TRUE(Rejects("\xF0\x9F\x98"));
    EXPECT_TRUE(Rejects("\xC0\x80"));              // overlong
    EXPECT_TRUE(Rejects("\xC1\xBF"));
    EXPECT_TRUE(Rejects("\xE0\x9F\xBF"));
    EXPECT_TRUE(Rejects("\xF0\x8F\xBF\xBF"));
    EXPECT_TRUE(Rejects("\xED\xA0\x80"));          // encoded surrogates
    EXPECT_TRUE(Rejects("\xED\xBF\xBF"));
    EXPECT_TRUE(Rejects("\xF4\x90\x80\x80"));      // above U+10FFFF
    EXPECT_TRUE(Rejects("\xF5\x80\x80\x80"));
    EXPECT_TRUE(Rejects("\xFF"));
    EXPECT_TRUE(Rejects("\xE3\x41\x82"));          // continuation expected
}

TEST(Utf8Lenient, ReplacesOnlyTheBadBytes) {
    EXPECT_EQ(DecodeUtf8("ab\xFF" "cd"), u"ab\uFFFD" u"cd");
    EXPECT_EQ(DecodeUtf8("x\xE3\x81"), u"x\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xE3\x81\x82"), u"\u3042");
}

TEST(Utf8Encode, RoundTripsAndReplacesLoneSurrogates) {
    EXPECT_EQ(EncodeUtf8(u"A\u00E9\u3042\U0001F600"), "A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(EncodeUtf8(u""), "");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC97, 0};  // 0xDC97 also: a file name's byte 0x97
    EXPECT_EQ(EncodeUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(Utf8Strict, AgreesWithEncodeForEveryScalarValueSample) {
    for (char32_t code = 1; code <= 0x10FFFF; code += (code < 0x800 ? 1 : 97)) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        std::u16string text;
        if (code < 0x10000) {
            text += static_cast<char16_t>(code);
        } else {
            text += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
        std::u16string back;
        ASSERT_TRUE(DecodeUtf8Strict(EncodeUtf8(text), back)) << std::hex << static_cast<unsigned>(code);
        ASSERT_EQ(back, text);
    }
}

}  // namespace
}  // namespace tvx::platform
