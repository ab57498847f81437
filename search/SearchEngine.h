#pragma once
// Exact byte-pattern scans over a document, in blocks of 1 MiB, with progress and cancel.
// Neither scan wraps around the document's ends.

#include "document/DocumentInterfaces.h"
#include "search/SearchQuery.h"

#include <cstdint>
#include <functional>

namespace tvx {

enum class SearchStatus : std::uint32_t { Found = 0, NotFound = 1, Cancelled = 2 };

struct SearchResult {
    SearchStatus status = SearchStatus::NotFound;
    std::uint64_t position = 0;  // the match's first byte
    bool found = false;
};

// Called once per block; returning false stops the scan (status Cancelled).
using SearchCancelCheck = std::function<bool()>;

constexpr std::uint64_t kSearchBlockSize = 1 << 20;

// The first match beginning at or after start.
[[nodiscard]] SearchResult ForwardSearch(const IReadOnlyDocument* document, const SearchPattern& pattern,
                                         std::uint64_t start, const SearchCancelCheck& cancel,
                                         const ProgressCallback& progress);

// The last match beginning at or before start (start may lie beyond the end). Progress counts
// the distance from the end of the document.
[[nodiscard]] SearchResult BackwardSearch(const IReadOnlyDocument* document, const SearchPattern& pattern,
                                          std::uint64_t start, const SearchCancelCheck& cancel,
                                          const ProgressCallback& progress);

}  // namespace tvx
