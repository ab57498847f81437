#pragma once
// The Struct View's texts from the string table.

#include "localization/StringTable.h"

#include <string>

namespace tvx {

struct StructViewLabels {
    std::u16string title;
    std::u16string definitionHeader;  // before the pattern's file name
    std::u16string nameColumn;
    std::u16string sizeColumn;
    std::u16string offsetColumn;
    std::u16string typeColumn;  // looked up, shown by no column
    std::u16string valueColumn;
    std::u16string emptyMessage;
    std::u16string openButton;
    std::u16string reloadButton;
    std::u16string closeButton;
    std::u16string infoButton;
    std::u16string errorPrefix;  // before a load error
    std::u16string byteArrayMenu;
    std::u16string byteArrayHex;
    std::u16string byteArrayAscii;
    std::u16string endianMenu;
    std::u16string endianLittle;
    std::u16string endianBig;
    std::u16string numericBaseMenu;
    std::u16string numericBaseHex;
    std::u16string numericBaseDec;
};

// The labels in the string table's current language.
[[nodiscard]] StructViewLabels LoadStructViewLabels(StringTable& strings);

}  // namespace tvx
