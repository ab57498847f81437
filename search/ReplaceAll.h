#pragma once
// Find and replace: the matches a Replace All takes and their replacement as one undo step,
// and the replacement of the one match a Replace finds selected.

#include "document/DocumentInterfaces.h"
#include "search/SearchEngine.h"
#include "search/SearchQuery.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tvx {

enum class ReplaceStatus : std::uint32_t { Replaced = 0, NotFound = 1, Cancelled = 2, Failed = 3 };

struct ReplaceOutcome {
    ReplaceStatus status = ReplaceStatus::NotFound;
    std::uint64_t count = 0;  // the matches replaced
};

// The matches lying wholly in [begin, end), left to right, each beginning at or after the end
// of the one before (so none overlaps another), at most limit of them. Progress runs over
// [begin, end); a cancel or a failed read returns nothing.
struct ReplaceTargets {
    ReplaceStatus status = ReplaceStatus::NotFound;  // Replaced when there are targets
    std::vector<std::uint64_t> offsets;
};
[[nodiscard]] ReplaceTargets FindReplaceTargets(const IReadOnlyDocument& document, const SearchPattern& pattern,
                                                std::uint64_t begin, std::uint64_t end, std::uint64_t limit,
                                                const SearchCancelCheck& cancel, const ProgressCallback& progress);

// Finds the targets in [begin, end) and replaces every one by replacement, as one undo step.
// Nothing changes unless it reports Replaced.
[[nodiscard]] ReplaceOutcome ReplaceAll(IUndoableDocument& document, const SearchPattern& pattern,
                                        std::span<const std::uint8_t> replacement, std::uint64_t begin,
                                        std::uint64_t end, std::uint64_t limit, const SearchCancelCheck& cancel,
                                        const ProgressCallback& progress);

// Replaces the bytes at [at, at + pattern length) when they are a match, as one undo step;
// NotFound when they are not.
[[nodiscard]] ReplaceStatus ReplaceMatchAt(IUndoableDocument& document, const SearchPattern& pattern,
                                           std::span<const std::uint8_t> replacement, std::uint64_t at);

// Whether a replacement of this length may replace matches of that length: the same length
// always, another only while inserting (it moves the bytes after it).
[[nodiscard]] constexpr bool ReplacementFits(std::size_t patternLength, std::size_t replacementLength,
                                             bool insertMode) {
    return patternLength == replacementLength || insertMode;
}

}  // namespace tvx
