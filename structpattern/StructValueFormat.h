#pragma once
// One evaluation of the entry struct over document bytes, and the rows it gives.

#include "settings/Enums.h"
#include "structpattern/StructPatternFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tvx {

// The user's choice of how values are written (persisted by the settings).
struct StructValueFormat {
    ByteArrayFormat byteArrayFormat = ByteArrayFormat::Hex;
    ByteOrder byteOrder = ByteOrder::Little;
    NumericBase numericBase = NumericBase::Hex;
};

struct StructEvalRequest {
    std::uint64_t baseOffset = 0;     // document offset where the entry struct starts
    std::vector<std::uint8_t> data;   // document bytes from baseOffset; empty: no values
    std::shared_ptr<const StructPatternFile> file;  // may be null
    std::u16string unavailableText;   // for values whose bytes are missing; "-" when empty
    StructValueFormat format;
};

struct StructViewRow {
    std::u16string name;
    std::u16string offset;
    std::u16string value;
    std::u16string size;
};

}  // namespace tvx
