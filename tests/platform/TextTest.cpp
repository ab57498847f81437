// Text services of the platform: UTF-8, case-blind comparison, character classes, the UTF-16
// text test and the user's locale. Windows answers from the system's tables, elsewhere from
// portable ones; the verdicts are the same.

#include "platform/CaseCompare.h"
#include "platform/CharClass.h"
#include "platform/Locale.h"
#include "platform/TextUnicode.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace tvx::platform {
namespace {

using namespace std::string_view_literals;

TEST(Utf8Strict, DecodesWellFormedInputAndRejectsTheRest) {
    const std::pair<std::string_view, std::optional<std::u16string>> cases[] = {
        {"A\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", u"A\u00E9\u3042\U0001F600"}, {"", u""},
        {"a\0b"sv, std::u16string(u"a\0b", 3)}, {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},  // more: the round trip below
        // Stray continuation bytes, truncated sequences, overlong forms, encoded surrogates,
        // values above U+10FFFF, bytes that never occur, a continuation byte missing.
        {"\x80", {}}, {"A\xBF", {}}, {"\xC3", {}}, {"\xE3\x81", {}}, {"\xF0\x9F\x98", {}}, {"\xC0\x80", {}},
        {"\xC1\xBF", {}}, {"\xE0\x9F\xBF", {}}, {"\xF0\x8F\xBF\xBF", {}}, {"\xED\xA0\x80", {}},
        {"\xED\xBF\xBF", {}}, {"\xF4\x90\x80\x80", {}}, {"\xF5\x80\x80\x80", {}}, {"\xFF", {}},
        {"\xE3\x41\x82", {}},
    };
    for (const auto& c : cases) {
        std::u16string out = u"stale";
        EXPECT_EQ(DecodeUtf8Strict(c.first, out), c.second.has_value()) << &c - cases;
        EXPECT_EQ(out, c.second.value_or(u"")) << &c - cases;
    }
}

TEST(Utf8, LenientDecodingReplacesOnlyTheBadBytesAndEncodingLoneSurrogates) {
    EXPECT_EQ(DecodeUtf8("ab\xFF" "cd"), u"ab\uFFFD" u"cd");
    EXPECT_EQ(DecodeUtf8("x\xE3\x81"), u"x\uFFFD");
    EXPECT_EQ(DecodeUtf8("\xE3\x81\x82"), u"\u3042");
    EXPECT_EQ(EncodeUtf8(u""), "");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC97, 0};  // 0xDC97 also: a file name's byte 0x97
    EXPECT_EQ(EncodeUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(Utf8, StrictDecodingInvertsEncodingForEveryScalarValueSample) {
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

// The sign of the comparison of the upper-case forms; 0 also means EqualIgnoringCase.
TEST(CaseCompare, OrdersByTheUpperCaseForms) {
    const struct {
        std::u16string a, b;
        int sign;
    } cases[] = {
        {u"C:\\Data\\File.BIN", u"c:\\data\\file.bin", 0}, {u"ÄÖÜ Ωmega Привет", u"äöü ωMEGA пРИВЕТ", 0},
        {u"", u"", 0}, {u"a.bin", u"a.bim", 1}, {u"a", u"a ", -1} /* a prefix sorts first */, {u"e", u"é", -1},
        {u"\U0001F600", u"\U0001F601", -1}, {u"Lucida", u"courier", 1}, {u"mono Sans", u"MONO", 1},
        {u"äb", u"ÄC", -1}, {u"a_", u"ab", 1} /* '_' (5F) lies after 'B' (42) */,
    };
    for (const auto& c : cases) {
        const int result = CompareIgnoringCase(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << &c - cases;
        EXPECT_EQ(EqualIgnoringCase(c.a, c.b), c.sign == 0) << &c - cases;
    }
}

TEST(CharClass, OnlyCombiningMarksOfTheBasicPlaneAreNonspacingMarks) {
    for (char16_t c : {0x0301, 0x0591, 0x05BF, 0x093C, 0x0E48, 0x20E3, 0x3099, 0xFB1E, 0xFE20})
        EXPECT_TRUE(IsNonspacingMark(std::u16string(1, c))) << std::hex << static_cast<unsigned>(c);
    // Letters, symbols and precomposed characters are not marks.
    for (char16_t c : {0x0020, 0x0041, 0x00B4, 0x00E9, 0x1E00, 0x200D, 0x304C, 0x309B, 0x4E00})
        EXPECT_FALSE(IsNonspacingMark(std::u16string(1, c))) << std::hex << static_cast<unsigned>(c);
    // Surrogate pairs and empty text have no class.
    for (const std::u16string text : {u"\U0001D167", u"\U000E0100", u""}) EXPECT_FALSE(IsNonspacingMark(text));
}

TEST(TextUnicode, LittleEndianTextIsPlausible) {
    // A space, a line end, the ideographic space U+3000, Latin-1 letters, a surrogate pair.
    const std::pair<std::string_view, bool> cases[] = {
        {"A\0B\0C\0D\0"sv, true}, {"H\0i\0 \0"sv, true}, {"A\0\r\0\n\0"sv, true}, {"\x00\x30" "A\0"sv, true},
        {"\xE9\0A\0"sv, true}, {"\x3D\xD8\x00\xDE \0!\0"sv, true},
        // Nothing, one byte, a lone low surrogate, ASCII, big-endian text, no text at all.
        {""sv, false}, {"A"sv, false}, {"\x00\xDC"sv, false}, {"ABCD"sv, false}, {"\0A\0B\0C\0D"sv, false},
        {"\xFF\xFF\xFF\xFF"sv, false}, {"ABABABABABABABABABABABABABABABAB"sv, false},
#ifndef _WIN32
        // The portable rule where Windows' statistics are its own: zero-extended ASCII, kana
        // (the high byte stays), an odd last byte ignored, zero units, one unit.
        {"A\0"sv, true}, {"\x42\x30\x44\x30\x46\x30"sv, true}, {"\x3D\xD8\x00\xDE\x3D\xD8\x01\xDE"sv, true},
        {"A\0B\0C\0D\0E"sv, true}, {"\0\0\0\0"sv, false}, {"\x42\x30"sv, false},
        // The high bytes must change less than half as much as the low bytes: 2 * 2 < 5, not < 4.
        {"\x10\x50\x15\x52"sv, true}, {"\x10\x50\x14\x52"sv, false},
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPlausibleUtf16Text(std::vector<std::uint8_t>(c.first.begin(), c.first.end())), c.second)
            << &c - cases;
}

#ifndef _WIN32
// The first set of LC_ALL, LC_MESSAGES and LANG, or nothing; the variables are put back after.
TEST(Locale, TakesTheFirstSetOfLcAllLcMessagesAndLang) {
    const char* const names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : names)
        saved.push_back(std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);
    const struct {
        const char* values[3];  // null: unset
        std::u16string name;
    } cases[] = {
        {{nullptr, nullptr, nullptr}, u""},
        {{nullptr, nullptr, "ja_JP.UTF-8"}, u"ja_JP.UTF-8"},
        {{nullptr, "de_DE.UTF-8", "ja_JP.UTF-8"}, u"de_DE.UTF-8"},
        {{"fr_FR", "de_DE.UTF-8", "ja_JP.UTF-8"}, u"fr_FR"},
        {{"", "de_DE.UTF-8", "ja_JP.UTF-8"}, u"de_DE.UTF-8"},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) c.values[i] ? ::setenv(names[i], c.values[i], 1) : ::unsetenv(names[i]);
        EXPECT_EQ(UserDefaultLocaleName(), c.name) << &c - cases;
    }
    for (int i = 0; i < 3; ++i) saved[i] ? ::setenv(names[i], saved[i]->c_str(), 1) : ::unsetenv(names[i]);
}
#else
TEST(Locale, TheSystemNamesTheUsersLocale) {
    const std::u16string name = UserDefaultLocaleName();
    ASSERT_GE(name.size(), 2u);
    EXPECT_EQ(name.find(u'\0'), std::u16string::npos);
    EXPECT_NE(name.find(u'-'), std::u16string::npos);  // "en-US", "ja-JP"
}
#endif

}  // namespace
}  // namespace tvx::platform
