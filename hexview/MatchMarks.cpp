#include "hexview/MatchMarks.h"

#include "hexview/HexMetrics.h"

#include <algorithm>
#include <cstring>

namespace tvx {

std::vector<std::uint16_t> MatchMasks(const IReadOnlyDocument& document, std::span<const std::uint8_t> pattern,
                                      std::uint64_t firstRow, std::uint64_t rowCount) {
    const std::uint64_t size = document.GetSize();
    const std::uint64_t first = std::min(firstRow * kBytesPerRow, size);
    const std::uint64_t end = std::min(size, first + rowCount * kBytesPerRow);
    std::vector<std::uint16_t> masks(static_cast<std::size_t>((end - first + kBytesPerRow - 1) / kBytesPerRow));
    if (pattern.empty() || end - first == 0) return masks;
    // A match that ends in the first visible byte begins length - 1 bytes before it.
    const std::uint64_t length = pattern.size();
    const std::uint64_t from = first - std::min(first, length - 1);
    const ByteBlock block = document.ReadBytes(from, end + length - 1 - from);
    const std::vector<std::uint8_t>& bytes = block.bytes;
    for (std::size_t at = 0; at + length <= bytes.size(); ++at) {
        if (bytes[at] != pattern[0] || std::memcmp(bytes.data() + at, pattern.data(), length) != 0) continue;
        const std::uint64_t begin = std::max(from + at, first);
        const std::uint64_t stop = std::min(from + at + length, end);
        for (std::uint64_t offset = begin; offset < stop; ++offset) {
            std::uint16_t& mask = masks[static_cast<std::size_t>((offset - first) / kBytesPerRow)];
            mask = static_cast<std::uint16_t>(mask | 1u << ((offset - first) % kBytesPerRow));
        }
    }
    return masks;
}

}  // namespace tvx
