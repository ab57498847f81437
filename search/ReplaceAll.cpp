#include "search/ReplaceAll.h"

#include "search/AllMatches.h"

#include <algorithm>

namespace tvx {

ReplaceTargets FindReplaceTargets(const IReadOnlyDocument& document, const SearchPattern& pattern,
                                  std::uint64_t begin, std::uint64_t end, std::uint64_t limit,
                                  const SearchCancelCheck& cancel, const ProgressCallback& progress) {
    ReplaceTargets targets;
    end = std::min(end, document.GetSize());
    if (pattern.empty() || begin >= end || end - begin < pattern.size() || limit == 0) return targets;
    const std::uint64_t total = end - begin;
    const std::uint64_t lastStart = end - pattern.size();
    std::uint64_t next = begin;  // where a match may begin that overlaps none taken
    bool cancelled = false;
    const ScanOutcome outcome = ScanAllMatches(
        &document, pattern, begin, false,
        [&](std::uint64_t position) {
            if (position > lastStart) return false;
            if (position < next) return true;
            targets.offsets.push_back(position);
            next = position + pattern.size();
            return targets.offsets.size() < limit;
        },
        [&](std::uint64_t blockStart) {
            if (blockStart > lastStart) return false;
            if (progress) progress(static_cast<std::size_t>(blockStart - begin), static_cast<std::size_t>(total));
            cancelled = cancel && !cancel();
            return !cancelled;
        });
    if (cancelled) return {ReplaceStatus::Cancelled, {}};
    if (outcome == ScanOutcome::ReadFailed) return {ReplaceStatus::Failed, {}};
    if (progress) progress(static_cast<std::size_t>(total), static_cast<std::size_t>(total));
    if (!targets.offsets.empty()) targets.status = ReplaceStatus::Replaced;
    return targets;
}

ReplaceOutcome ReplaceAll(IUndoableDocument& document, const SearchPattern& pattern,
                          std::span<const std::uint8_t> replacement, std::uint64_t begin, std::uint64_t end,
                          std::uint64_t limit, const SearchCancelCheck& cancel, const ProgressCallback& progress) {
    const ReplaceTargets targets = FindReplaceTargets(document, pattern, begin, end, limit, cancel, progress);
    if (targets.status != ReplaceStatus::Replaced) return {targets.status, 0};
    if (!document.ReplaceEach(targets.offsets, pattern.size(), replacement, pattern)) return {ReplaceStatus::Failed, 0};
    return {ReplaceStatus::Replaced, targets.offsets.size()};
}

ReplaceStatus ReplaceMatchAt(IUndoableDocument& document, const SearchPattern& pattern,
                             std::span<const std::uint8_t> replacement, std::uint64_t at) {
    if (pattern.empty() || document.ReadBytes(at, pattern.size()).bytes != pattern) return ReplaceStatus::NotFound;
    const std::uint64_t offsets[] = {at};
    return document.ReplaceEach(offsets, pattern.size(), replacement, pattern) ? ReplaceStatus::Replaced : ReplaceStatus::Failed;
}

}  // namespace tvx
