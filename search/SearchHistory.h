#pragma once
// The search history: the queries that converted, newest first, at most kMaxSearchHistory.

#include "settings/AppSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// Puts (kind, query) at the front, removing the entries equal to it in both fields (exact,
// case-sensitive) and those past the 16th. False, with nothing changed, for an empty kind
// or query; the caller saves the settings only after a true result.
[[nodiscard]] bool AddSearchHistory(std::vector<SearchHistoryEntry>& history, std::u16string_view kind,
                                    std::u16string_view query);

// The queries of the entries whose kind equals kind exactly, in history order.
[[nodiscard]] std::vector<std::u16string> SearchHistoryQueries(const std::vector<SearchHistoryEntry>& history,
                                                                std::u16string_view kind);

}  // namespace tvx
