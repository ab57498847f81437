#include "search/SearchRequest.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(PrepareSearch, TrimsAndConvertsOrNamesTheRefusal) {
    auto prepared = PrepareSearch(SearchQueryKind::Hex, u" \t41 42\r\n", TextEncoding::Ascii);
    ASSERT_TRUE(prepared.pattern);
    EXPECT_EQ(*prepared.pattern, SearchPattern({0x41, 0x42}));
    EXPECT_EQ(prepared.query, u"41 42");
    EXPECT_EQ(prepared.errorKey, nullptr);

    prepared = PrepareSearch(SearchQueryKind::Text, u"  ", TextEncoding::Utf8);
    EXPECT_FALSE(prepared.pattern);
    EXPECT_STREQ(prepared.errorKey, "error.search_invalid_text");
    prepared = PrepareSearch(SearchQueryKind::Text, u"\u00E9", TextEncoding::Ascii);
    EXPECT_STREQ(prepared.errorKey, "error.search_invalid_text");
    prepared = PrepareSearch(SearchQueryKind::Hex, u"4", TextEncoding::Ascii);
    EXPECT_STREQ(prepared.errorKey, "error.search_invalid_hex");
}

TEST(PrepareSearch, AcceptsUpTo4096Bytes) {
    EXPECT_TRUE(PrepareSearch(SearchQueryKind::Text, std::u16string(4096, u'a'), TextEncoding::Ascii).pattern);
    const auto tooLong = PrepareSearch(SearchQueryKind::Text, std::u16string(4097, u'a'), TextEncoding::Ascii);
    EXPECT_FALSE(tooLong.pattern);
    EXPECT_STREQ(tooLong.errorKey, "error.search_too_long");
    // The limit counts bytes, not characters: 2,049 UTF-16 units are 4,098 bytes.
    EXPECT_STREQ(PrepareSearch(SearchQueryKind::Text, std::u16string(2049, u'a'), TextEncoding::Utf16Le).errorKey,
                 "error.search_too_long");
}

TEST(PrepareReplacement, KeepsTextAsTypedAndTakesNothingAsADeletion) {
    const struct {
        SearchQueryKind kind;
        std::u16string text;
        TextEncoding encoding;
        std::optional<SearchPattern> bytes;
        const char* errorKey;
    } cases[] = {
        {SearchQueryKind::Text, u" a ", TextEncoding::Ascii, SearchPattern{0x20, 0x61, 0x20}, nullptr},
        {SearchQueryKind::Text, u"", TextEncoding::Ascii, SearchPattern{}, nullptr},
        {SearchQueryKind::Hex, u" \t", TextEncoding::Ascii, SearchPattern{}, nullptr},
        {SearchQueryKind::Hex, u" 0A 0b", TextEncoding::Ascii, SearchPattern{0x0A, 0x0B}, nullptr},
        {SearchQueryKind::Text, u"\u00E9", TextEncoding::Utf16Be, SearchPattern{0x00, 0xE9}, nullptr},
        {SearchQueryKind::Text, u"\u00E9", TextEncoding::Ascii, std::nullopt, "error.search_invalid_text"},
        {SearchQueryKind::Hex, u"0A0", TextEncoding::Ascii, std::nullopt, "error.search_invalid_hex"},
        {SearchQueryKind::Text, std::u16string(4097, u'a'), TextEncoding::Utf8, std::nullopt, "error.search_too_long"},
    };
    for (const auto& c : cases) {
        const PreparedReplacement prepared = PrepareReplacement(c.kind, c.text, c.encoding);
        EXPECT_EQ(prepared.bytes, c.bytes);
        EXPECT_STREQ(prepared.errorKey ? prepared.errorKey : "", c.errorKey ? c.errorKey : "");
    }
}

// The query box's limits let through the longest pattern and no longer one.
TEST(QueryLengthLimits, FitTheLongestPattern) {
    std::u16string hex;
    for (std::size_t i = 0; i < kMaxSearchPatternLength; ++i) hex += i == 0 ? u"4D" : u" 4D";
    EXPECT_EQ(hex.size(), kMaxHexQueryLength);
    EXPECT_TRUE(PrepareSearch(SearchQueryKind::Hex, hex, TextEncoding::Ascii).pattern);

    for (TextEncoding encoding :
         {TextEncoding::Ascii, TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        const std::size_t limit = TextQueryLengthLimit(encoding);
        EXPECT_TRUE(PrepareSearch(SearchQueryKind::Text, std::u16string(limit, u'a'), encoding).pattern);
        EXPECT_STREQ(PrepareSearch(SearchQueryKind::Text, std::u16string(limit + 1, u'a'), encoding).errorKey,
                     "error.search_too_long");
    }
    EXPECT_EQ(TextQueryLengthLimit(TextEncoding::Utf16Be), 2048u);
}

TEST(ChooseSearchStart, StartsAtTheCaretWithoutASelection) {
    EXPECT_EQ(ChooseSearchStart(SearchDirection::Next, 5, std::nullopt, 10), 5u);
    EXPECT_EQ(ChooseSearchStart(SearchDirection::Previous, 5, std::nullopt, 10), 5u);
}

TEST(ChooseSearchStart, StepsPastTheLowerEndOfTheSelection) {
    EXPECT_EQ(ChooseSearchStart(SearchDirection::Next, 9, SearchSelection{7, 4}, 10), 5u);
    EXPECT_EQ(ChooseSearchStart(SearchDirection::Previous, 9, SearchSelection{7, 4}, 10), 3u);
}

TEST(ChooseSearchStart, SelectionAtTheEdgeFindsNothing) {
    EXPECT_FALSE(ChooseSearchStart(SearchDirection::Previous, 3, SearchSelection{0, 3}, 10));
    EXPECT_FALSE(ChooseSearchStart(SearchDirection::Next, 9, SearchSelection{9, 9}, 10));
    EXPECT_FALSE(ChooseSearchStart(SearchDirection::Next, 0, SearchSelection{0, 0}, 0));
    EXPECT_EQ(ChooseSearchStart(SearchDirection::Next, 8, SearchSelection{8, 9}, 10), 9u);
}

}  // namespace
}  // namespace tvx
