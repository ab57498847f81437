#pragma once
// The text column: bytes to one text cell per byte. A cell is empty when its byte belongs to
// a character shown in an earlier cell, holds "." for a byte that shows no character, and in
// UTF-8 may hold a base character followed by combining marks.

#include "document/DocumentInterfaces.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tvx {

using TextCells = std::vector<std::u16string>;

// 0x20 to 0x7E as themselves, every other byte ".".
[[nodiscard]] TextCells DecodeAsciiCells(std::span<const std::uint8_t> bytes);

// The count bytes from rowOffset, with up to three bytes of context read on either side so
// that characters crossing a row boundary decode correctly. A character shows in the cell of
// its first byte; one that starts in the row above shows nowhere in this row.
[[nodiscard]] TextCells DecodeUtf8Cells(const IReadOnlyDocument& document, std::uint64_t rowOffset,
                                        std::size_t count);

// Units aligned to the row start; surrogates, controls and noncharacters show ".".
[[nodiscard]] TextCells DecodeUtf16Cells(std::span<const std::uint8_t> bytes, bool littleEndian);

// The fixed list of combining marks (diacritics, variation selectors, zero width joiner).
[[nodiscard]] bool IsCombiningMark(char32_t codePoint) noexcept;

}  // namespace tvx
