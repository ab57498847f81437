#include "hexview/TextDecoders.h"

#include "hexview/Utf16Units.h"
#include "platform/CharClass.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <string_view>

namespace tvx {
namespace {

const std::u16string kDot = u".";

// Bytes of context read on each side of a UTF-8 row: the longest sequence minus one.
constexpr std::uint64_t kUtf8Context = 3;

// The length of the sequence a UTF-8 lead byte announces; 0 for a byte that cannot lead.
int Utf8SequenceLength(std::uint8_t lead) noexcept {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// A mark joins the preceding base character when it is on the fixed list or the system
// classes it as a nonspacing mark.
bool IsCombining(const std::u16string& text) {
    char32_t codePoint = text[0];
    std::size_t units = 1;
    if (text.size() >= 2 && IsHighSurrogate(text[0]) && IsLowSurrogate(text[1])) {
        codePoint = 0x10000 + ((char32_t{text[0]} - 0xD800) << 10) + (char32_t{text[1]} - 0xDC00);
        units = 2;
    }
    return IsCombiningMark(codePoint) || platform::IsNonspacingMark(std::u16string_view(text).substr(0, units));
}

bool HasPrintableUnit(const std::u16string& text) {
    return std::any_of(text.begin(), text.end(), [](char16_t u) { return u > 0x1F && u != 0x7F; });
}

}  // namespace

TextCells DecodeAsciiCells(std::span<const std::uint8_t> bytes) {
    TextCells cells;
    cells.reserve(bytes.size());
    for (std::uint8_t b : bytes)
        cells.push_back(b >= 0x20 && b <= 0x7E ? std::u16string(1, static_cast<char16_t>(b)) : kDot);
    return cells;
}

TextCells DecodeUtf8Cells(const IReadOnlyDocument& document, std::uint64_t rowOffset, std::size_t count) {
    const std::uint64_t start = rowOffset >= kUtf8Context ? rowOffset - kUtf8Context : 0;
    const std::uint64_t rowEnd = rowOffset + count;
    const std::uint64_t stop = std::min(document.GetSize(), rowEnd + kUtf8Context);
    TextCells cells(count);
    if (stop <= start) return cells;
    const std::vector<std::uint8_t> window = document.ReadBytes(start, stop - start).bytes;

    bool joinable = false;  // the last cell holds a character that marks may join
    std::size_t lastCell = 0;
    std::size_t i = 0;
    while (i < window.size()) {
        const std::uint64_t p = start + i;
        const bool inRow = p >= rowOffset && p < rowEnd;
        const auto cell = static_cast<std::size_t>(p - rowOffset);
        const auto invalidByte = [&] {
            if (inRow) cells[cell] = kDot;
            ++i;  // resynchronise at the next byte
        };

        const std::size_t length = static_cast<std::size_t>(Utf8SequenceLength(window[i]));
        if (length == 0 || i + length > window.size() ||
            std::any_of(window.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        window.begin() + static_cast<std::ptrdiff_t>(i + length),
                        [](std::uint8_t b) { return (b & 0xC0) != 0x80; })) {
            invalidByte();
            continue;
        }
        std::u16string text;
        const std::string_view sequence(reinterpret_cast<const char*>(window.data() + i), length);
        // Overlong forms, encoded surrogates and values above U+10FFFF fail here.
        if (!platform::DecodeUtf8Strict(sequence, text) || text.empty()) {
            invalidByte();
            continue;
        }
        if (!HasPrintableUnit(text)) {
            if (inRow) cells[cell] = kDot;
            i += length;
            continue;
        }
        const bool combining = IsCombining(text);
        if (!inRow) {
            if (!combining) joinable = false;
        } else if (combining && joinable) {
            cells[lastCell] += text;
        } else {
            lastCell = cell;
            cells[cell] = text;
            joinable = true;
        }
        i += length;
    }
    return cells;
}

TextCells DecodeUtf16Cells(std::span<const std::uint8_t> bytes, bool littleEndian) {
    TextCells cells(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        if (i + 1 >= bytes.size()) {  // a lone last byte
            cells[i] = kDot;
            break;
        }
        const auto unit = static_cast<char16_t>(littleEndian ? bytes[i] | bytes[i + 1] << 8
                                                             : bytes[i] << 8 | bytes[i + 1]);
        const bool shown = (unit >= 0x20 && unit <= 0x7E) || (unit >= 0x80 && unit <= 0xD7FF) ||
                           (unit >= 0xE000 && unit <= 0xFFFD);
        // A lone mark has no base in this one-unit-per-cell view.
        cells[i] = shown && !IsCombiningMark(unit) ? std::u16string(1, unit) : kDot;
    }
    return cells;
}

bool IsCombiningMark(char32_t cp) noexcept {
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x0483 && cp <= 0x0489) || (cp >= 0x1AB0 && cp <= 0x1AFF) ||
           (cp >= 0x1DC0 && cp <= 0x1DFF) || (cp >= 0x20D0 && cp <= 0x20FF) || cp == 0x3099 || cp == 0x309A ||
           (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xFE20 && cp <= 0xFE2F) || (cp >= 0xE0100 && cp <= 0xE01EF) ||
           cp == 0x200D;
}

}  // namespace tvx
