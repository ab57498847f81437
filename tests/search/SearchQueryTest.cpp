#include "search/SearchQuery.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using Bytes = SearchPattern;

TEST(ParseHexQuery, IgnoresWhiteSpaceAnywhere) {
    EXPECT_EQ(ParseHexQuery(u"41 42"), Bytes({0x41, 0x42}));
    EXPECT_EQ(ParseHexQuery(u"4142"), Bytes({0x41, 0x42}));
    EXPECT_EQ(ParseHexQuery(u" 4 1\t4\r\n2 "), Bytes({0x41, 0x42}));
    EXPECT_EQ(ParseHexQuery(u"41\u300042"), Bytes({0x41, 0x42}));  // ideographic space
    EXPECT_EQ(ParseHexQuery(u"0a0B"), Bytes({0x0A, 0x0B}));
}

TEST(ParseHexQuery, RefusesWhatIsNotWholeBytes) {
    EXPECT_FALSE(ParseHexQuery(u""));
    EXPECT_FALSE(ParseHexQuery(u"   "));
    EXPECT_FALSE(ParseHexQuery(u"4"));
    EXPECT_FALSE(ParseHexQuery(u"414"));
    EXPECT_FALSE(ParseHexQuery(u"0x41"));
    EXPECT_FALSE(ParseHexQuery(u"4G"));
    EXPECT_FALSE(ParseHexQuery(u"+1"));
    EXPECT_FALSE(ParseHexQuery(u"-1"));
    EXPECT_FALSE(ParseHexQuery(u"\uFF14\uFF11"));  // full-width digits
}

TEST(EncodeTextQuery, EncodesInTheViewsEncoding) {
    EXPECT_FALSE(EncodeTextQuery(u"\u00E9", TextEncoding::Ascii));
    EXPECT_EQ(EncodeTextQuery(u"\u00E9", TextEncoding::Utf8), Bytes({0xC3, 0xA9}));
    EXPECT_EQ(EncodeTextQuery(u"\u00E9", TextEncoding::Utf16Le), Bytes({0xE9, 0x00}));
    EXPECT_EQ(EncodeTextQuery(u"\u00E9", TextEncoding::Utf16Be), Bytes({0x00, 0xE9}));
    EXPECT_EQ(EncodeTextQuery(u"Ab", TextEncoding::Ascii), Bytes({'A', 'b'}));
    EXPECT_EQ(EncodeTextQuery(u"\U0001F600", TextEncoding::Utf8), Bytes({0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(EncodeTextQuery(u"\U0001F600", TextEncoding::Utf16Le), Bytes({0x3D, 0xD8, 0x00, 0xDE}));
}

TEST(EncodeTextQuery, RefusesEmptyTextAndUnknownEncodings) {
    EXPECT_FALSE(EncodeTextQuery(u"", TextEncoding::Utf8));
    EXPECT_FALSE(EncodeTextQuery(u"a", static_cast<TextEncoding>(7)));
}

TEST(TrimSearchQuery, DropsBlanksAtBothEndsOnly) {
    EXPECT_EQ(TrimSearchQuery(u" \t\r\nab c\n "), u"ab c");
    EXPECT_EQ(TrimSearchQuery(u" \t "), u"");
    EXPECT_EQ(TrimSearchQuery(u"\u3000x"), u"\u3000x");
}

}  // namespace
}  // namespace tvx
