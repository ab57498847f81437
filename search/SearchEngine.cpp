#include "search/SearchEngine.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

namespace tvx {
namespace {

SearchResult NotFound() { return {}; }

SearchResult FoundAt(std::uint64_t position) { return {SearchStatus::Found, position, true}; }

bool Searchable(const IReadOnlyDocument* document, const SearchPattern& pattern) {
    return document != nullptr && document->IsOpen() && !pattern.empty() && pattern.size() <= document->GetSize();
}

void Report(const ProgressCallback& progress, std::uint64_t done, std::uint64_t total) {
    if (progress) progress(static_cast<std::size_t>(done), static_cast<std::size_t>(total));
}

using Iterator = std::vector<std::uint8_t>::const_iterator;
using ReverseIterator = std::reverse_iterator<Iterator>;

// Horspool's skip is at most the pattern's length, so short patterns crawl through the data.
// For them, memchr finds each candidate first byte (many bytes per step) and memcmp checks the
// rest; repetitive data costs at most pattern length comparisons per byte.
constexpr std::size_t kShortPatternLength = 16;

Iterator FindFirst(Iterator begin, Iterator end, const SearchPattern& pattern,
                   const std::boyer_moore_horspool_searcher<SearchPattern::const_iterator>& searcher) {
    if (pattern.size() > kShortPatternLength) return std::search(begin, end, searcher);
    const std::size_t length = pattern.size();
    if (static_cast<std::size_t>(end - begin) < length) return end;
    const std::uint8_t* data = &*begin;
    const std::uint8_t* const last = data + (end - begin) - length;  // the last possible start
    while (data <= last) {
        const auto* candidate =
            static_cast<const std::uint8_t*>(std::memchr(data, pattern[0], static_cast<std::size_t>(last - data) + 1));
        if (candidate == nullptr) return end;
        if (std::memcmp(candidate + 1, pattern.data() + 1, length - 1) == 0) return begin + (candidate - &*begin);
        data = candidate + 1;
    }
    return end;
}

ReverseIterator FindLast(ReverseIterator begin, ReverseIterator end, const SearchPattern& pattern,
                         const std::boyer_moore_horspool_searcher<SearchPattern::const_reverse_iterator>& searcher) {
    if (pattern.size() != 1) return std::search(begin, end, searcher);
    return std::find(begin, end, pattern[0]);
}

}  // namespace

SearchResult ForwardSearch(const IReadOnlyDocument* document, const SearchPattern& pattern, std::uint64_t start,
                           const SearchCancelCheck& cancel, const ProgressCallback& progress) {
    if (!Searchable(document, pattern) || start >= document->GetSize()) return NotFound();
    const std::uint64_t size = document->GetSize();
    const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());

    // The last pattern length - 1 bytes of each block are carried into the next, so a match
    // across a block boundary is found there.
    std::vector<std::uint8_t> buffer;
    std::uint64_t pos = start;
    for (;;) {
        Report(progress, pos, size);
        if (cancel && !cancel()) return {SearchStatus::Cancelled, 0, false};
        const ByteBlock block = document->ReadBytes(pos, std::min(size - pos, kSearchBlockSize));
        if (block.bytes.empty()) break;

        const std::uint64_t bufferOffset = pos - buffer.size();
        buffer.insert(buffer.end(), block.bytes.begin(), block.bytes.end());
        if (buffer.size() >= pattern.size()) {
            const std::size_t first = start > bufferOffset ? static_cast<std::size_t>(start - bufferOffset) : 0;
            const auto match = FindFirst(buffer.cbegin() + static_cast<std::ptrdiff_t>(first), buffer.cend(), pattern, searcher);
            if (match != buffer.cend()) return FoundAt(bufferOffset + static_cast<std::uint64_t>(match - buffer.cbegin()));
        }
        const std::size_t keep = std::min(buffer.size(), pattern.size() - 1);
        buffer.erase(buffer.begin(), buffer.end() - static_cast<std::ptrdiff_t>(keep));
        pos += block.bytes.size();
        if (pos >= size) break;
    }
    Report(progress, size, size);
    return NotFound();
}

SearchResult BackwardSearch(const IReadOnlyDocument* document, const SearchPattern& pattern, std::uint64_t start,
                            const SearchCancelCheck& cancel, const ProgressCallback& progress) {
    if (!Searchable(document, pattern)) return NotFound();
    const std::uint64_t size = document->GetSize();
    const std::uint64_t length = pattern.size();
    // Searching the reversed block for the reversed pattern finds the match with the highest
    // offset first: the same answer as keeping the last of all forward matches, without
    // visiting every one of them (which costs block size x pattern length on repetitive data).
    const std::boyer_moore_horspool_searcher searcher(pattern.rbegin(), pattern.rend());

    std::uint64_t last = std::min(size - length, start);  // highest offset where a match may begin
    for (;;) {
        Report(progress, size - last - 1, size);
        if (cancel && !cancel()) return {SearchStatus::Cancelled, 0, false};
        const std::uint64_t candidates = std::min(last + 1, kSearchBlockSize);
        const std::uint64_t blockStart = last + 1 - candidates;
        const ByteBlock block = document->ReadBytes(blockStart, candidates + length - 1);
        if (block.bytes.size() >= length) {
            // Only matches beginning at one of the candidate offsets count.
            const std::size_t usable = static_cast<std::size_t>(
                std::min<std::uint64_t>(block.bytes.size(), candidates + length - 1));
            const auto begin = std::make_reverse_iterator(block.bytes.cbegin() + static_cast<std::ptrdiff_t>(usable));
            const auto end = block.bytes.crend();
            const auto match = FindLast(begin, end, pattern, searcher);
            if (match != end) {
                // match points at the pattern's last byte; base() is one past it.
                const auto matchEnd = static_cast<std::uint64_t>(match.base() - block.bytes.cbegin());
                return FoundAt(blockStart + matchEnd - length);
            }
        }
        if (blockStart == 0) break;
        last = blockStart - 1;
    }
    Report(progress, size, size);
    return NotFound();
}

}  // namespace tvx
