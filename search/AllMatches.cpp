#include "search/AllMatches.h"

#include "search/SearchEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tvx {
namespace {

// Calls found(offset) for every match beginning in data[0, candidates); data holds at least
// candidates + pattern length - 1 bytes when that many exist. memchr finds each candidate
// first byte, memcmp checks the rest.
template <typename Found>
bool EachMatchIn(const std::uint8_t* data, std::size_t size, std::size_t candidates, const SearchPattern& pattern,
                 Found&& found) {
    const std::size_t length = pattern.size();
    if (size < length) return true;
    candidates = std::min(candidates, size - length + 1);
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + candidates;
    while (p < end) {
        const auto* candidate = static_cast<const std::uint8_t*>(std::memchr(p, pattern[0], static_cast<std::size_t>(end - p)));
        if (candidate == nullptr) return true;
        if (std::memcmp(candidate + 1, pattern.data() + 1, length - 1) == 0 &&
            !found(static_cast<std::size_t>(candidate - data)))
            return false;
        p = candidate + 1;
    }
    return true;
}

ScanOutcome ScanForward(const IReadOnlyDocument* document, const SearchPattern& pattern, std::uint64_t start,
                        const MatchCallback& onMatch, const BlockCallback& onBlock) {
    const std::uint64_t size = document->GetSize();
    const std::uint64_t length = pattern.size();
    if (start > size) return ScanOutcome::Complete;  // start + length could wrap around
    for (std::uint64_t blockStart = start; blockStart + length <= size; blockStart += kSearchBlockSize) {
        // Each block also carries the pattern length - 1 bytes after it, for the matches that
        // begin in it and end in the next.
        if (onBlock && !onBlock(blockStart)) return ScanOutcome::Stopped;
        const std::uint64_t wanted = std::min(size - blockStart, kSearchBlockSize + length - 1);
        const ByteBlock block = document->ReadBytes(blockStart, wanted);
        if (block.bytes.size() != wanted) return ScanOutcome::ReadFailed;
        const bool more = EachMatchIn(block.bytes.data(), block.bytes.size(), kSearchBlockSize, pattern,
                                      [&](std::size_t at) { return onMatch(blockStart + at); });
        if (!more) return ScanOutcome::Stopped;
    }
    return ScanOutcome::Complete;
}

ScanOutcome ScanBackward(const IReadOnlyDocument* document, const SearchPattern& pattern, std::uint64_t start,
                         const MatchCallback& onMatch, const BlockCallback& onBlock) {
    const std::uint64_t size = document->GetSize();
    const std::uint64_t length = pattern.size();
    if (size < length) return ScanOutcome::Complete;
    std::vector<std::uint64_t> found;
    std::uint64_t last = std::min(size - length, start);  // the highest offset where a match may begin
    for (;;) {
        const std::uint64_t candidates = std::min(last + 1, kSearchBlockSize);
        const std::uint64_t blockStart = last + 1 - candidates;
        const std::uint64_t wanted = candidates + length - 1;
        if (onBlock && !onBlock(blockStart)) return ScanOutcome::Stopped;
        const ByteBlock block = document->ReadBytes(blockStart, wanted);
        if (block.bytes.size() != wanted) return ScanOutcome::ReadFailed;
        found.clear();
        (void)EachMatchIn(block.bytes.data(), block.bytes.size(), static_cast<std::size_t>(candidates), pattern,
                          [&](std::size_t at) {
                              found.push_back(blockStart + at);
                              return true;
                          });
        for (auto it = found.rbegin(); it != found.rend(); ++it)
            if (!onMatch(*it)) return ScanOutcome::Stopped;
        if (blockStart == 0) return ScanOutcome::Complete;
        last = blockStart - 1;
    }
}

}  // namespace

ScanOutcome ScanAllMatches(const IReadOnlyDocument* document, const SearchPattern& pattern, std::uint64_t start,
                           bool backward, const MatchCallback& onMatch, const BlockCallback& onBlock) {
    if (document == nullptr || !document->IsOpen() || pattern.empty()) return ScanOutcome::Complete;
    return backward ? ScanBackward(document, pattern, start, onMatch, onBlock)
                    : ScanForward(document, pattern, start, onMatch, onBlock);
}

}  // namespace tvx
