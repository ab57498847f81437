#pragma once
// Every match of a pattern in one pass over a document, overlapping matches included: time
// linear in the document's size (times the pattern's length at worst on repetitive data).

#include "document/DocumentInterfaces.h"
#include "search/SearchQuery.h"

#include <cstdint>
#include <functional>

namespace tvx {

// Receives each match's first byte; returning false ends the scan.
using MatchCallback = std::function<bool(std::uint64_t position)>;

// Called before each block is read with the block's first offset; returning false ends the scan.
using BlockCallback = std::function<bool(std::uint64_t blockStart)>;

enum class ScanOutcome : std::uint32_t { Complete = 0, Stopped = 1, ReadFailed = 2 };

// Forward: every match beginning at or after start, lowest first. Backward: every match
// beginning at or before start (which may lie beyond the end), highest first.
[[nodiscard]] ScanOutcome ScanAllMatches(const IReadOnlyDocument* document, const SearchPattern& pattern,
                                         std::uint64_t start, bool backward, const MatchCallback& onMatch,
                                         const BlockCallback& onBlock = {});

}  // namespace tvx
