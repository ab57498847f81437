#include "app/FontChoice.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

using Families = std::vector<std::u16string>;

TEST(FontChoice, KeepsFixedPitchFacesSortedWithoutRegardToCase) {
    const Families families = FixedPitchFamilies({{u"Lucida Console", true},
                                                  {u"Arial", false},
                                                  {u"consolas", true},
                                                  {u"Courier New", true},
                                                  {u"", true},
                                                  {u"DejaVu Sans Mono", true}});
    EXPECT_EQ(families, (Families{u"consolas", u"Courier New", u"DejaVu Sans Mono", u"Lucida Console"}));
}

TEST(FontChoice, ListsANameOnceInTheCaseReportedFirst) {
    // Enumeration reports a face once per character set.
    const Families families = FixedPitchFamilies(
        {{u"MS Gothic", true}, {u"Ms Gothic", true}, {u"MS GOTHIC", true}, {u"Courier", true}, {u"MS Gothic", true}});
    EXPECT_EQ(families, (Families{u"Courier", u"MS Gothic"}));
}

TEST(FontChoice, NeverListsVerticalVariants) {
    EXPECT_EQ(FixedPitchFamilies({{u"@MS Gothic", true}, {u"MS Gothic", true}}), Families{u"MS Gothic"});
    EXPECT_TRUE(FixedPitchFamilies({{u"@Only", true}, {u"Proportional", false}}).empty());
}

TEST(FontChoice, SelectsTheCurrentFamilyOrTheFirst) {
    const Families families{u"Consolas", u"Courier New", u"DejaVu Sans Mono"};
    EXPECT_EQ(FamilyIndex(families, u"dejavu sans MONO"), 2u);
    EXPECT_EQ(FamilyIndex(families, u"Consolas"), 0u);
    EXPECT_EQ(FamilyIndex(families, u"Removed Font"), 0u);
    EXPECT_EQ(FamilyIndex({}, u"Consolas"), 0u);
}

TEST(FontChoice, SelectsTheRoundedSizeOrEight) {
    EXPECT_EQ(kFontSizes[FontSizeIndex(12.5f)], 13);  // halves away from zero
    EXPECT_EQ(kFontSizes[FontSizeIndex(12.49f)], 12);
    EXPECT_EQ(kFontSizes[FontSizeIndex(28.0f)], 28);
    EXPECT_EQ(kFontSizes[FontSizeIndex(15.0f)], 8);  // not in the list
    EXPECT_EQ(kFontSizes[FontSizeIndex(30.0f)], 8);
    EXPECT_EQ(kFontSizes[FontSizeIndex(7.6f)], 8);
}

}  // namespace
}  // namespace tvx
