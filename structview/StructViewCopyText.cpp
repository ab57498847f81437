#include "structview/StructViewCopyText.h"

namespace tvx {

std::u16string FormatDefinitionLine(const StructViewLabels& labels, const std::u16string& displayName) {
    return labels.definitionHeader + u": " + (displayName.empty() ? u"-" : displayName);
}

std::u16string FormatStructViewMessage(const StructViewLabels& labels, StructViewState state,
                                       const std::u16string& message) {
    return state == StructViewState::Error ? labels.errorPrefix + u": " + message : message;
}

std::u16string BuildStructViewCopyText(const StructViewLabels& labels, StructViewState state,
                                       const std::u16string& displayName, const std::u16string& message,
                                       std::span<const StructViewRow> rows) {
    std::u16string text = labels.title + u"\r\n" + FormatDefinitionLine(labels, displayName) + u"\r\n\r\n";
    if (state != StructViewState::Loaded) return text + FormatStructViewMessage(labels, state, message);
    text += labels.offsetColumn + u'\t' + labels.valueColumn + u'\t' + labels.sizeColumn + u'\t' + labels.nameColumn;
    for (const StructViewRow& row : rows)
        text += u"\r\n" + row.offset + u'\t' + row.value + u'\t' + row.size + u'\t' + row.name;
    return text;
}

}  // namespace tvx
