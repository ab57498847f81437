#include "hexview/RowCells.h"

#include "hexview/HexMetrics.h"

namespace tvx {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendHexByte(std::u16string& out, std::uint8_t byte) {
    out.push_back(kHexDigits[byte >> 4]);
    out.push_back(kHexDigits[byte & 0x0F]);
}

}  // namespace

std::u16string FormatOffset(const IReadOnlyDocument* document, std::uint64_t rowOffset) {
    const int digits = OffsetDigits(document ? document->GetSize() : 0);
    std::u16string text;
    for (int shift = 60; shift >= 0; shift -= 4) {
        const auto nibble = static_cast<unsigned>((rowOffset >> shift) & 0x0F);
        if (text.empty() && nibble == 0 && shift >= digits * 4) continue;
        text.push_back(kHexDigits[nibble]);
    }
    text.push_back(u':');
    return text;
}

RowCells BuildRowCells(const IReadOnlyDocument* document, std::uint64_t rowOffset,
                       std::span<const std::uint8_t> bytes, TextEncoding encoding) {
    RowCells row;
    row.offsetText = FormatOffset(document, rowOffset);
    row.hexCells.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        std::u16string cell;
        AppendHexByte(cell, b);
        row.hexCells.push_back(std::move(cell));
    }
    switch (encoding) {
        case TextEncoding::Utf8:
            row.textCells = document ? DecodeUtf8Cells(*document, rowOffset, bytes.size()) : DecodeAsciiCells(bytes);
            break;
        case TextEncoding::Utf16Le: row.textCells = DecodeUtf16Cells(bytes, true); break;
        case TextEncoding::Utf16Be: row.textCells = DecodeUtf16Cells(bytes, false); break;
        default: row.textCells = DecodeAsciiCells(bytes); break;
    }
    return row;
}

}  // namespace tvx
