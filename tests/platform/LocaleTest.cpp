#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tvx::platform {
namespace {

#ifndef _WIN32
// Sets the locale variables for one test and puts the previous values back.
class LocaleEnvironment : public ::testing::Test {
protected:
    LocaleEnvironment() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~LocaleEnvironment() override {
        for (std::size_t i = 0; i < std::size(kNames); ++i) Set(kNames[i], saved_[i]);
    }
    static void Set(const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(LocaleEnvironment, TakesTheFirstSetOfLcAllLcMessagesAndLang) {
    Set("LC_ALL", std::nullopt);
    Set("LC_MESSAGES", std::nullopt);
    Set("LANG", "ja_JP.UTF-8");
    EXPECT_EQ(UserDefaultLocaleName(), u"ja_JP.UTF-8");
    Set("LC_MESSAGES", "de_DE.UTF-8");
    EXPECT_EQ(UserDefaultLocaleName(), u"de_DE.UTF-8");
    Set("LC_ALL", "fr_FR");
    EXPECT_EQ(UserDefaultLocaleName(), u"fr_FR");
    Set("LC_ALL", "");
    EXPECT_EQ(UserDefaultLocaleName(), u"de_DE.UTF-8");
}

TEST_F(LocaleEnvironment, IsEmptyWithoutAnyVariable) {
    for (const char* name : kNames) Set(name, std::nullopt);
    EXPECT_EQ(UserDefaultLocaleName(), u"");
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
