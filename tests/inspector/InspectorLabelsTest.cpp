#include "inspector/InspectorLabels.h"

#include "platform/AppLocation.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

// The tables beside the test program, with no user locale.
StringTable Strings(Language language) {
    StringTable strings(platform::ExecutableDirectory(), [] { return std::u16string(); });
    strings.SetLanguage(language);
    return strings;
}

TEST(InspectorLabels, EnglishTexts) {
    StringTable strings = Strings(Language::English);
    const InspectorLabels labels = LoadInspectorLabels(strings);
    EXPECT_EQ(labels.title, u"Data Inspector");
    EXPECT_EQ(labels.nameHeading, u"Type");
    EXPECT_EQ(labels.valueHeading, u"Value");
    EXPECT_EQ(labels.rows[static_cast<std::size_t>(InspectorRow::Binary)], u"Binary");
    EXPECT_EQ(labels.rows[static_cast<std::size_t>(InspectorRow::UInt16Be)], u"UInt16 BE");
    EXPECT_EQ(labels.rows[static_cast<std::size_t>(InspectorRow::Utf16Be)], u"UTF-16 BE");
    EXPECT_EQ(InspectorUnavailableText(strings), u"n/a");
}

// A key missing from a table shows as the key itself: every label must be found, and the rows
// must differ from each other, in both languages.
TEST(InspectorLabels, EveryKeyIsInBothTables) {
    for (const Language language : {Language::English, Language::Japanese}) {
        StringTable strings = Strings(language);
        const InspectorLabels labels = LoadInspectorLabels(strings);
        for (const std::u16string* text : {&labels.title, &labels.nameHeading, &labels.valueHeading})
            EXPECT_FALSE(text->starts_with(u"inspector.")) << static_cast<int>(language);
        for (std::size_t i = 0; i < labels.rows.size(); ++i) {
            EXPECT_FALSE(labels.rows[i].starts_with(u"inspector.")) << i;
            for (std::size_t j = 0; j < i; ++j) EXPECT_NE(labels.rows[i], labels.rows[j]) << i << " " << j;
        }
        EXPECT_FALSE(InspectorUnavailableText(strings).starts_with(u"inspector."));
    }
}

}  // namespace
}  // namespace tvx
