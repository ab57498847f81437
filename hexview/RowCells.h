#pragma once
// The texts of one row of the hex view: offset, hexadecimal cells and text cells.

#include "document/DocumentInterfaces.h"
#include "hexview/TextDecoders.h"
#include "settings/Enums.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tvx {

struct RowCells {
    std::u16string offsetText;
    std::vector<std::u16string> hexCells;  // two capital digits per byte
    TextCells textCells;                   // one per byte
};

// The row offset in capital hexadecimal, 8 digits for documents below 4 GiB (or without a
// document), else 16, and a colon. Wider offsets are written in full.
[[nodiscard]] std::u16string FormatOffset(const IReadOnlyDocument* document, std::uint64_t rowOffset);

// An encoding outside the enumeration decodes as Ascii; Utf8 needs the document for context.
[[nodiscard]] RowCells BuildRowCells(const IReadOnlyDocument* document, std::uint64_t rowOffset,
                                     std::span<const std::uint8_t> bytes, TextEncoding encoding);

}  // namespace tvx
