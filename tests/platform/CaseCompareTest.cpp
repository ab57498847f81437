#include "platform/CaseCompare.h"

#include <gtest/gtest.h>

namespace tvx::platform {
namespace {

TEST(CaseCompare, IgnoresLetterCaseBeyondAscii) {
    EXPECT_TRUE(EqualIgnoringCase(u"C:\\Data\\File.BIN", u"c:\\data\\file.bin"));
    EXPECT_TRUE(EqualIgnoringCase(u"ÄÖÜ Ωmega Привет", u"äöü ωMEGA пРИВЕТ"));
    EXPECT_TRUE(EqualIgnoringCase(u"", u""));
}

TEST(CaseCompare, OtherDifferencesCount) {
    EXPECT_FALSE(EqualIgnoringCase(u"a.bin", u"a.bim"));
    EXPECT_FALSE(EqualIgnoringCase(u"a", u"a "));
    EXPECT_FALSE(EqualIgnoringCase(u"e", u"é"));
    EXPECT_FALSE(EqualIgnoringCase(u"\U0001F600", u"\U0001F601"));
}

TEST(CaseCompare, OrdersByTheUpperCaseForms) {
    EXPECT_EQ(CompareIgnoringCase(u"Courier", u"COURIER"), 0);
    EXPECT_LT(CompareIgnoringCase(u"consolas", u"Courier"), 0);
    EXPECT_GT(CompareIgnoringCase(u"Lucida", u"courier"), 0);
    EXPECT_LT(CompareIgnoringCase(u"Mono", u"mono Sans"), 0);  // a prefix sorts first
    EXPECT_GT(CompareIgnoringCase(u"mono Sans", u"MONO"), 0);
    EXPECT_LT(CompareIgnoringCase(u"äb", u"ÄC"), 0);
    // The upper-case forms decide: '_' (5F) lies after 'B' (42).
    EXPECT_GT(CompareIgnoringCase(u"a_", u"ab"), 0);
}

}  // namespace
}  // namespace tvx::platform
