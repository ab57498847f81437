// From the query box to a pattern: parsing, encoding, limits, where the scan starts, history.

#include "search/SearchHistory.h"
#include "search/SearchQuery.h"
#include "search/SearchRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace tvx {
namespace {

using Bytes = SearchPattern;
using History = std::vector<SearchHistoryEntry>;
using enum SearchQueryKind;
using enum TextEncoding;

// A search query is trimmed and must not be empty; hex takes whole bytes with white space
// anywhere, text is encoded in the view's encoding. A replacement is kept as typed, and nothing
// is a deletion. Too long: QueryLengthLimits.
TEST(PrepareSearch, ConvertsOrNamesTheRefusal) {
    constexpr bool kSearch = false, kReplace = true;
    const char *const kHex = "error.search_invalid_hex", *const kText = "error.search_invalid_text";
    const struct {
        bool replacement;
        SearchQueryKind kind;
        std::u16string text;
        TextEncoding encoding;
        std::optional<Bytes> bytes;
        const char* errorKey;
    } cases[] = {
        {kSearch, Hex, u" \t41 42\r\n", Ascii, Bytes{0x41, 0x42}, nullptr},
        {kSearch, Hex, u" 4 1\t4\r\n2 ", Ascii, Bytes{0x41, 0x42}, nullptr},
        {kSearch, Hex, u"41\u300042", Ascii, Bytes{0x41, 0x42}, nullptr},  // ideographic space
        {kSearch, Hex, u"0a0B", Ascii, Bytes{0x0A, 0x0B}, nullptr},
        {kSearch, Hex, u"   ", Ascii, {}, kHex}, {kSearch, Hex, u"414", Ascii, {}, kHex},
        {kSearch, Hex, u"0x41", Ascii, {}, kHex}, {kSearch, Hex, u"4G", Ascii, {}, kHex},
        {kSearch, Hex, u"+1", Ascii, {}, kHex}, {kSearch, Hex, u"\uFF14\uFF11", Ascii, {}, kHex},  // full-width
        {kSearch, Text, u"  ", Utf8, {}, kText}, {kSearch, Text, u"\u00E9", Ascii, {}, kText},
        {kSearch, Text, u"\u00E9", Utf8, Bytes{0xC3, 0xA9}, nullptr},
        {kSearch, Text, u"\u00E9", Utf16Le, Bytes{0xE9, 0x00}, nullptr},
        {kSearch, Text, u"\u00E9", Utf16Be, Bytes{0x00, 0xE9}, nullptr},
        {kSearch, Text, u"Ab", Ascii, Bytes{'A', 'b'}, nullptr},
        {kSearch, Text, u"\U0001F600", Utf8, Bytes{0xF0, 0x9F, 0x98, 0x80}, nullptr},
        {kSearch, Text, u"\U0001F600", Utf16Le, Bytes{0x3D, 0xD8, 0x00, 0xDE}, nullptr},
        {kSearch, Text, u"a", static_cast<TextEncoding>(7), {}, kText},
        {kReplace, Text, u" a ", Ascii, Bytes{0x20, 0x61, 0x20}, nullptr},
        {kReplace, Text, u"", Ascii, Bytes{}, nullptr}, {kReplace, Hex, u" \t", Ascii, Bytes{}, nullptr},
        {kReplace, Hex, u" 0A 0b", Ascii, Bytes{0x0A, 0x0B}, nullptr},
        {kReplace, Text, u"\u00E9", Ascii, {}, kText}, {kReplace, Hex, u"0A0", Ascii, {}, kHex},
        {kReplace, Text, std::u16string(4097, u'a'), Utf8, {}, "error.search_too_long"},
    };
    for (const auto& c : cases) {
        const auto search = PrepareSearch(c.kind, c.text, c.encoding);
        const auto replacement = PrepareReplacement(c.kind, c.text, c.encoding);
        EXPECT_EQ(c.replacement ? replacement.bytes : search.pattern, c.bytes) << &c - cases;
        const char* errorKey = c.replacement ? replacement.errorKey : search.errorKey;
        EXPECT_STREQ(errorKey ? errorKey : "", c.errorKey ? c.errorKey : "") << &c - cases;
    }
    EXPECT_EQ(PrepareSearch(Hex, u" \t41 42\r\n", Ascii).query, u"41 42");
    EXPECT_EQ(PrepareSearch(Text, u" \t\r\nab c\n ", Ascii).query, u"ab c");
    EXPECT_EQ(PrepareSearch(Text, u"\u3000x", Ascii).query, u"\u3000x");
}

// The query box's limits let through the longest pattern and no longer one; they count bytes, not
// characters.
TEST(QueryLengthLimits, FitTheLongestPattern) {
    std::u16string hex;
    for (std::size_t i = 0; i < kMaxSearchPatternLength; ++i) hex += i == 0 ? u"4D" : u" 4D";
    EXPECT_EQ(hex.size(), kMaxHexQueryLength);
    EXPECT_TRUE(PrepareSearch(Hex, hex, Ascii).pattern);
    for (TextEncoding encoding : {Ascii, Utf8, Utf16Le, Utf16Be}) {
        const std::size_t limit = TextQueryLengthLimit(encoding);
        EXPECT_TRUE(PrepareSearch(Text, std::u16string(limit, u'a'), encoding).pattern);
        EXPECT_STREQ(PrepareSearch(Text, std::u16string(limit + 1, u'a'), encoding).errorKey,
                     "error.search_too_long");
    }
}

// At the caret without a selection, else one step past the selection's lower end.
TEST(ChooseSearchStart, StartsAtTheCaretOrBesideTheSelection) {
    constexpr auto kNext = SearchDirection::Next, kPrevious = SearchDirection::Previous;
    const std::tuple<SearchDirection, std::uint64_t, std::optional<SearchSelection>, std::uint64_t,
                     std::optional<std::uint64_t>>
        cases[] = {
            {kNext, 5, std::nullopt, 10, 5}, {kPrevious, 5, std::nullopt, 10, 5},
            {kNext, 9, SearchSelection{7, 4}, 10, 5}, {kPrevious, 9, SearchSelection{7, 4}, 10, 3},
            {kPrevious, 3, SearchSelection{0, 3}, 10, std::nullopt},
            {kNext, 9, SearchSelection{9, 9}, 10, std::nullopt},
            {kNext, 0, SearchSelection{0, 0}, 0, std::nullopt}, {kNext, 8, SearchSelection{8, 9}, 10, 9},
        };
    for (const auto& [direction, caret, selection, size, start] : cases)
        EXPECT_EQ(ChooseSearchStart(direction, caret, selection, size), start) << caret << " in " << size;
}

// Against a model that keeps every query ever added, newest last: the history is the model's
// distinct entries (kind and case kept apart), newest first, cut to sixteen; the queries of one
// kind are listed in that order.
TEST(AddSearchHistory, MatchesTheDistinctNewestQueries) {
    std::mt19937 random(7);
    History history, added;
    for (int step = 0; step < 2000; ++step) {
        const char16_t* const kinds[] = {u"text", u"hex", u"Hex"};
        const SearchHistoryEntry entry{kinds[random() % 3],
                                       std::u16string(1, static_cast<char16_t>(u"aA"[random() % 2] + random() % 10))};
        ASSERT_TRUE(AddSearchHistory(history, entry.kind, entry.query));
        added.push_back(entry);
        History expected;
        for (auto it = added.rbegin(); it != added.rend() && expected.size() < kMaxSearchHistory; ++it)
            if (std::find(expected.begin(), expected.end(), *it) == expected.end()) expected.push_back(*it);
        ASSERT_EQ(history, expected) << "after step " << step;
        std::vector<std::u16string> queries;
        for (const SearchHistoryEntry& e : expected)
            if (e.kind == entry.kind) queries.push_back(e.query);
        ASSERT_EQ(SearchHistoryQueries(history, entry.kind), queries);
    }
    const History before = history;
    EXPECT_FALSE(AddSearchHistory(history, u"", u"a"));
    EXPECT_FALSE(AddSearchHistory(history, u"text", u""));
    EXPECT_EQ(history, before);
}

}  // namespace
}  // namespace tvx
