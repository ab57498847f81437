#include "inspector/InspectorLabels.h"

namespace tvx {
namespace {

constexpr const char* kRowLabelKeys[kInspectorRowCount] = {
    "inspector.data.row.binary",    "inspector.data.row.uint8_dec", "inspector.data.row.uint16_le",
    "inspector.data.row.uint16_be", "inspector.data.row.uint32_le", "inspector.data.row.uint32_be",
    "inspector.data.row.uint64_le", "inspector.data.row.uint64_be", "inspector.data.row.utf8",
    "inspector.data.row.utf16le",   "inspector.data.row.utf16be",
};

}  // namespace

InspectorLabels LoadInspectorLabels(StringTable& strings) {
    InspectorLabels labels;
    labels.title = strings.GetText("inspector.data.title");
    labels.nameHeading = strings.GetText("inspector.data.column.name");
    labels.valueHeading = strings.GetText("inspector.data.column.value");
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) labels.rows[row] = strings.GetText(kRowLabelKeys[row]);
    return labels;
}

std::u16string InspectorUnavailableText(StringTable& strings) {
    return strings.GetText("inspector.data.value.unavailable");
}

}  // namespace tvx
