#pragma once
// The bytes of the rows on screen that lie in a match of the active query: only the visible
// rows and the pattern's length on either side are read, so the cost does not grow with the
// document.

#include "document/DocumentInterfaces.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tvx {

// One mask per row from firstRow on (rowCount of them, fewer at the end of the document):
// bit i set when byte i of the row belongs to a match, overlapping matches included, wholly
// or partly inside these rows. All zero for an empty pattern.
[[nodiscard]] std::vector<std::uint16_t> MatchMasks(const IReadOnlyDocument& document,
                                                    std::span<const std::uint8_t> pattern, std::uint64_t firstRow,
                                                    std::uint64_t rowCount);

}  // namespace tvx
