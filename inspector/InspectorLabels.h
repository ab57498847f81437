#pragma once
// The Data Inspector's texts from the string table: title, column headings and row labels.

#include "inspector/InspectorRows.h"
#include "localization/StringTable.h"

#include <array>
#include <string>

namespace tvx {

struct InspectorLabels {
    std::u16string title;
    std::u16string nameHeading;
    std::u16string valueHeading;
    std::array<std::u16string, kInspectorRowCount> rows;  // indexed by InspectorRow
};

// The labels in the string table's current language.
[[nodiscard]] InspectorLabels LoadInspectorLabels(StringTable& strings);

// The text of a row without a value, for ComputeInspectorRows.
[[nodiscard]] std::u16string InspectorUnavailableText(StringTable& strings);

}  // namespace tvx
