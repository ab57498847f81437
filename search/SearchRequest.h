#pragma once
// The steps of a search command that need no window: checking the query and choosing where
// the scan starts.

#include "search/SearchQuery.h"

#include <optional>
#include <string>

namespace tvx {

enum class SearchQueryKind : std::uint32_t { Hex = 0, Text = 1 };
enum class SearchDirection : std::uint32_t { None = 0, Previous = 1, Next = 2 };

struct PreparedSearch {
    std::optional<SearchPattern> pattern;  // empty when the query was refused
    const char* errorKey = nullptr;        // the string table key of the refusal
    std::u16string query;                  // the trimmed query, as the history records it
};

// Trims the query and converts it: "error.search_invalid_text" or "error.search_invalid_hex"
// when it does not convert, "error.search_too_long" beyond the longest pattern.
[[nodiscard]] PreparedSearch PrepareSearch(SearchQueryKind kind, std::u16string_view query, TextEncoding encoding);

// The bytes that replace each match: as typed (text is not trimmed), converted as a query; an
// empty replacement (or, in hexadecimal, one of white space only) deletes the matches.
struct PreparedReplacement {
    std::optional<SearchPattern> bytes;  // empty when the replacement was refused
    const char* errorKey = nullptr;
};
[[nodiscard]] PreparedReplacement PrepareReplacement(SearchQueryKind kind, std::u16string_view text,
                                                     TextEncoding encoding);

// The most characters the query box takes: 4,096 pairs of hexadecimal digits with one
// separator between them, and for text one character per byte of the longest pattern (one
// per two bytes in UTF-16).
constexpr std::size_t kMaxHexQueryLength = kMaxSearchPatternLength * 3 - 1;
[[nodiscard]] std::size_t TextQueryLengthLimit(TextEncoding encoding);

// The history's name of a query kind: "text" or "hex".
[[nodiscard]] const char16_t* SearchKindName(SearchQueryKind kind);

struct SearchSelection {
    std::uint64_t anchor = 0;
    std::uint64_t active = 0;
};

// Where a scan starts: one byte past the lower end of the selection in the direction of the
// search (so a repeated search steps to the next match, overlapping ones included), else the
// caret. Nothing when the selection already touches the document's edge: not found at once.
[[nodiscard]] std::optional<std::uint64_t> ChooseSearchStart(SearchDirection direction, std::uint64_t caret,
                                                             const std::optional<SearchSelection>& selection,
                                                             std::uint64_t documentSize);

}  // namespace tvx
