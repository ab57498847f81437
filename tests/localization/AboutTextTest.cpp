#include "localization/AboutText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tvx {
namespace {

TEST(AboutText, LicenceIs722CharactersInEnglishAndJapanese) {
    EXPECT_EQ(kLicenseText.size(), 722u);
    // No surrogate pairs: 722 UTF-16 units are 722 characters.
    EXPECT_TRUE(std::none_of(kLicenseText.begin(), kLicenseText.end(),
                             [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }));
    EXPECT_NE(kLicenseText.find(u"WITHOUT WARRANTY"), std::u16string_view::npos);
    EXPECT_NE(kLicenseText.find(u"いかなる保証もありません"), std::u16string_view::npos);
}

TEST(AboutText, LicenceBreaksLinesWithCrLfOnly) {
    for (std::size_t i = 0; i < kLicenseText.size(); ++i) {
        const bool lineFeed = kLicenseText[i] == u'\n', carriageReturn = kLicenseText[i] == u'\r';
        EXPECT_EQ(lineFeed, i > 0 && kLicenseText[i - 1] == u'\r') << i;
        EXPECT_EQ(carriageReturn, i + 1 < kLicenseText.size() && kLicenseText[i + 1] == u'\n') << i;
    }
}

TEST(AboutText, HomepageIsAnExampleAddress) {
    EXPECT_TRUE(kHomepageAddress.starts_with(u"https://"));
    EXPECT_NE(kHomepageAddress.find(u".example.com/"), std::u16string_view::npos);
}

}  // namespace
}  // namespace tvx
