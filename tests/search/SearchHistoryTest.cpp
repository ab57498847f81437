#include "search/SearchHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace tvx {
namespace {

using History = std::vector<SearchHistoryEntry>;

TEST(AddSearchHistory, PutsTheNewestFirst) {
    History history;
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"MZ"));
    EXPECT_TRUE(AddSearchHistory(history, u"hex", u"4D 5A"));
    EXPECT_EQ(history, (History{{u"hex", u"4D 5A"}, {u"text", u"MZ"}}));
}

TEST(AddSearchHistory, ARepeatedQueryMovesToTheFrontOnce) {
    History history{{u"hex", u"00"}, {u"text", u"abc"}, {u"hex", u"FF"}};
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"abc"));
    EXPECT_EQ(history, (History{{u"text", u"abc"}, {u"hex", u"00"}, {u"hex", u"FF"}}));
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"abc"));
    EXPECT_EQ(history.size(), 3u);
}

TEST(AddSearchHistory, KindAndCaseKeepEntriesApart) {
    History history;
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"41"));
    EXPECT_TRUE(AddSearchHistory(history, u"hex", u"41"));
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"Abc"));
    EXPECT_TRUE(AddSearchHistory(history, u"text", u"abc"));
    EXPECT_EQ(history, (History{{u"text", u"abc"}, {u"text", u"Abc"}, {u"hex", u"41"}, {u"text", u"41"}}));
}

TEST(AddSearchHistory, TheSeventeenthQueryDropsTheOldest) {
    History history;
    for (int i = 0; i < 17; ++i) EXPECT_TRUE(AddSearchHistory(history, u"hex", std::u16string(i + 1, u'0')));
    ASSERT_EQ(history.size(), kMaxSearchHistory);
    EXPECT_EQ(history.front().query, std::u16string(17, u'0'));
    EXPECT_EQ(history.back().query, std::u16string(2, u'0'));
    // Repeating an entry already listed keeps all sixteen.
    EXPECT_TRUE(AddSearchHistory(history, u"hex", std::u16string(5, u'0')));
    EXPECT_EQ(history.size(), kMaxSearchHistory);
    EXPECT_EQ(history.back().query, std::u16string(2, u'0'));
}

TEST(AddSearchHistory, EmptyKindOrQueryChangesNothing) {
    History history{{u"hex", u"00"}};
    EXPECT_FALSE(AddSearchHistory(history, u"", u"00"));
    EXPECT_FALSE(AddSearchHistory(history, u"text", u""));
    EXPECT_EQ(history, (History{{u"hex", u"00"}}));
}

// Against a model that keeps every query ever added, newest last: the history is the model's
// distinct entries, newest first, cut to sixteen.
TEST(AddSearchHistory, MatchesTheDistinctNewestQueries) {
    std::mt19937 random(7);
    History history;
    History added;
    for (int step = 0; step < 2000; ++step) {
        const SearchHistoryEntry entry{random() % 2 ? u"text" : u"hex",
                                       std::u16string(1, static_cast<char16_t>(u'a' + random() % 20))};
        ASSERT_TRUE(AddSearchHistory(history, entry.kind, entry.query));
        added.push_back(entry);
        History expected;
        for (auto it = added.rbegin(); it != added.rend() && expected.size() < kMaxSearchHistory; ++it)
            if (std::find(expected.begin(), expected.end(), *it) == expected.end()) expected.push_back(*it);
        ASSERT_EQ(history, expected) << "after step " << step;
    }
}

TEST(SearchHistoryQueries, ListsTheQueriesOfOneKindInOrder) {
    const History history{{u"hex", u"4D 5A"}, {u"text", u"PK"}, {u"hex", u"00"}, {u"Hex", u"11"}};
    EXPECT_EQ(SearchHistoryQueries(history, u"hex"), (std::vector<std::u16string>{u"4D 5A", u"00"}));
    EXPECT_EQ(SearchHistoryQueries(history, u"text"), (std::vector<std::u16string>{u"PK"}));
    EXPECT_TRUE(SearchHistoryQueries({}, u"hex").empty());
}

}  // namespace
}  // namespace tvx
