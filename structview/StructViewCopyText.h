#pragma once
// The Struct View's texts that do not depend on its window: the definition line and the
// text copied to the clipboard.

#include "structpattern/StructValueFormat.h"
#include "structview/StructViewLabels.h"

#include <cstdint>
#include <span>
#include <string>

namespace tvx {

// What the view shows: a message (possibly empty), the rows of a loaded pattern, or the
// error of a pattern that failed to load.
enum class StructViewState : std::int32_t { Message = 0, Loaded = 1, Error = 2 };

// The definition label, ": " and the pattern's file name, "-" when none is set.
[[nodiscard]] std::u16string FormatDefinitionLine(const StructViewLabels& labels, const std::u16string& displayName);

// The error prefix, ": " and the message in state Error; the message as it is otherwise.
[[nodiscard]] std::u16string FormatStructViewMessage(const StructViewLabels& labels, StructViewState state,
                                                     const std::u16string& message);

// The title, the definition line, a blank line, then in state Loaded the headings (Offset,
// Value, Size, Name) and one line per row, fields joined by tabs; otherwise the message as
// FormatStructViewMessage gives it. Lines end with CR LF; the last line has no line end.
[[nodiscard]] std::u16string BuildStructViewCopyText(const StructViewLabels& labels, StructViewState state,
                                                     const std::u16string& displayName, const std::u16string& message,
                                                     std::span<const StructViewRow> rows);

}  // namespace tvx
