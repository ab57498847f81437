#pragma once
// Where a navigation key takes the caret.

#include "hexview/HexKey.h"

#include <cstdint>
#include <optional>

namespace tvx {

// The caret offset after key, from `from`, with `last` the last caret offset and `page` the
// bytes in one screen; nullopt for a key that does not move the caret. Moves stop at 0 and
// at last.
[[nodiscard]] std::optional<std::uint64_t> NavigationTarget(HexKey key, bool ctrl, std::uint64_t from,
                                                            std::uint64_t last, std::uint64_t page) noexcept;

}  // namespace tvx
