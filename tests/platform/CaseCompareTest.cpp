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

}  // namespace
}  // namespace tvx::platform
