#pragma once
// Where every cell of the hex view lies, in device-independent pixels (1/96 inch).

#include "hexview/HexMeasurer.h"

#include <cstdint>

namespace tvx {

// A row holds 16 bytes whatever the window width.
constexpr std::uint64_t kBytesPerRow = 16;

struct HexMetrics {
    float rowHeight = 19;
    float margin = 8;  // left, top and bottom of the content
    float offsetColumnWidth = 126;
    float hexColumnWidth = 470;
    float textColumnWidth = 160;
    float columnGap = 12;  // offset | hex | text
    float baseFontSize = 16;  // the font's points x 96 / 72
    float fontSize = 16;      // zoom x base font size
    float hexCellWidth = 8;   // one character of the offset and hex columns
    float textCellWidth = 8;  // one cell of the text column
};

// Offset digits: 8 for documents below 4 GiB, else 16.
[[nodiscard]] int OffsetDigits(std::uint64_t documentSize) noexcept;

// Measures the font (fontSize = zoom x base size) and fixes every width and the row height.
// Without a text stack the fallbacks stand: row height 17, cells 8, columns 0.
void ComputeMetrics(HexMetrics& metrics, IHexMeasurer& measurer, const HexFont& font, float zoom,
                    std::uint64_t documentSize);

}  // namespace tvx
