#include "search/SearchHistory.h"

namespace tvx {

bool AddSearchHistory(std::vector<SearchHistoryEntry>& history, std::u16string_view kind, std::u16string_view query) {
    if (kind.empty() || query.empty()) return false;
    std::erase_if(history,
                  [&](const SearchHistoryEntry& entry) { return entry.kind == kind && entry.query == query; });
    history.insert(history.begin(), SearchHistoryEntry{std::u16string(kind), std::u16string(query)});
    if (history.size() > kMaxSearchHistory) history.resize(kMaxSearchHistory);
    return true;
}

std::vector<std::u16string> SearchHistoryQueries(const std::vector<SearchHistoryEntry>& history,
                                                  std::u16string_view kind) {
    std::vector<std::u16string> queries;
    for (const SearchHistoryEntry& entry : history)
        if (entry.kind == kind) queries.push_back(entry.query);
    return queries;
}

}  // namespace tvx
