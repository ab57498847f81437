#include "localization/UserLanguage.h"

#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tvx {
namespace {

TEST(UserLanguage, JapaneseOnlyForNamesBeginningWithJa) {
    EXPECT_EQ(LanguageForLocaleName(u"ja"), Language::Japanese);
    EXPECT_EQ(LanguageForLocaleName(u"ja-JP"), Language::Japanese);
    EXPECT_EQ(LanguageForLocaleName(u"ja_JP.UTF-8"), Language::Japanese);
    EXPECT_EQ(LanguageForLocaleName(u"j"), Language::English);
    EXPECT_EQ(LanguageForLocaleName(u""), Language::English);
    EXPECT_EQ(LanguageForLocaleName(u"JA-JP"), Language::English);
    EXPECT_EQ(LanguageForLocaleName(u"en-US"), Language::English);
    EXPECT_EQ(LanguageForLocaleName(u"fr-FR"), Language::English);
}

// Run by ctest with LANG set to a Japanese and to an English locale and the language the
// system should then report (GetUserDefaultLocaleName under Wine, the environment on Linux).
TEST(UserLanguage, FollowsTheSystemLocale) {
    const char* expected = std::getenv("TVX_EXPECTED_USER_LANGUAGE");
    if (expected == nullptr) GTEST_SKIP() << "run through ctest with a chosen locale";
    const std::u16string name = platform::UserDefaultLocaleName();
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(DefaultLanguageForUser(), std::string(expected) == "Japanese" ? Language::Japanese : Language::English);
}

}  // namespace
}  // namespace tvx
