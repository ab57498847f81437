#include "hexview/Navigation.h"

#include <algorithm>

namespace tvx {
namespace {

constexpr std::uint64_t kRow = 16;

std::uint64_t Back(std::uint64_t from, std::uint64_t distance) { return from > distance ? from - distance : 0; }
std::uint64_t Forward(std::uint64_t from, std::uint64_t distance, std::uint64_t last) {
    return from >= last || last - from < distance ? last : from + distance;
}

}  // namespace

std::optional<std::uint64_t> NavigationTarget(HexKey key, bool ctrl, std::uint64_t from, std::uint64_t last,
                                              std::uint64_t page) noexcept {
    from = std::min(from, last);
    const std::uint64_t rowStart = from - from % kRow;
    switch (key) {
        case HexKey::Left: return Back(from, 1);
        case HexKey::Right: return Forward(from, 1, last);
        case HexKey::Up: return Back(from, kRow);
        case HexKey::Down: return Forward(from, kRow, last);
        case HexKey::PageUp: return Back(from, page);
        case HexKey::PageDown: return Forward(from, page, last);
        case HexKey::Home: return ctrl ? 0 : rowStart;
        case HexKey::End: return ctrl ? last : std::min(last, rowStart + kRow - 1);
        default: return std::nullopt;
    }
}

}  // namespace tvx
