#include "hexview/HexMetrics.h"

#include <algorithm>
#include <string_view>

namespace tvx {
namespace {

constexpr float kFallbackRowHeight = 17;
constexpr float kFallbackCellWidth = 8;
constexpr std::uint64_t kWideOffsetSize = std::uint64_t{1} << 32;

// The widest of the characters, each measured alone; failed measurements are skipped.
float MaxAdvance(IHexMeasurer& measurer, std::u16string_view characters) {
    float widest = 0;
    for (char16_t c : characters)
        if (const auto advance = measurer.Advance(c)) widest = std::max(widest, *advance);
    return widest;
}

std::u16string PrintableAscii() {
    std::u16string text;
    for (char16_t c = 0x20; c <= 0x7E; ++c) text.push_back(c);
    return text;
}

}  // namespace

int OffsetDigits(std::uint64_t documentSize) noexcept { return documentSize < kWideOffsetSize ? 8 : 16; }

void ComputeMetrics(HexMetrics& m, IHexMeasurer& measurer, const HexFont& font, float zoom,
                    std::uint64_t documentSize) {
    m.margin = 8;
    m.rowHeight = kFallbackRowHeight;
    m.fontSize = zoom * m.baseFontSize;
    m.offsetColumnWidth = m.hexColumnWidth = m.textColumnWidth = 0;
    m.columnGap = 12;
    m.hexCellWidth = m.textCellWidth = kFallbackCellWidth;
    if (!measurer.Prepare(font, m.fontSize)) return;

    const float lineHeight = measurer.LineHeight().value_or(m.rowHeight);
    // The grid must hold the widest glyph of each column, whatever the font's own advances.
    m.hexCellWidth = std::max(1.0f, MaxAdvance(measurer, u"0123456789ABCDEF:"));
    m.textCellWidth = std::max(1.0f, MaxAdvance(measurer, PrintableAscii()));
    m.offsetColumnWidth = m.hexCellWidth * static_cast<float>(OffsetDigits(documentSize) + 1);
    m.hexColumnWidth = m.hexCellWidth * 3 * kBytesPerRow;
    m.textColumnWidth = m.textCellWidth * kBytesPerRow;
    m.rowHeight = std::max({kFallbackRowHeight, lineHeight + std::max(0.15f * m.fontSize, 0.75f),
                            1.35f * m.fontSize});
}

}  // namespace tvx
