#include "structview/ValueFormatChoice.h"

namespace tvx {

std::optional<StructValueFormat> ApplyValueFormatChoice(const StructValueFormat& format, int choice) noexcept {
    StructValueFormat result = format;
    switch (choice) {
        case 1: result.byteArrayFormat = ByteArrayFormat::Hex; break;
        case 2: result.byteArrayFormat = ByteArrayFormat::Ascii; break;
        case 3: result.byteOrder = ByteOrder::Little; break;
        case 4: result.byteOrder = ByteOrder::Big; break;
        case 5: result.numericBase = NumericBase::Hex; break;
        case 6: result.numericBase = NumericBase::Dec; break;
        default: return std::nullopt;
    }
    return result;
}

bool IsValueFormatChoiceChecked(const StructValueFormat& format, int choice) noexcept {
    const std::optional<StructValueFormat> chosen = ApplyValueFormatChoice(format, choice);
    return chosen && SameValueFormat(*chosen, format);
}

bool SameValueFormat(const StructValueFormat& a, const StructValueFormat& b) noexcept {
    return a.byteArrayFormat == b.byteArrayFormat && a.byteOrder == b.byteOrder && a.numericBase == b.numericBase;
}

}  // namespace tvx
