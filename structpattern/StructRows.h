#pragma once
// Evaluation of the entry struct over a copy of document bytes into display rows.
// Pure functions: any number may run at once on any threads.

#include "structpattern/StructPatternFile.h"
#include "structpattern/StructValueFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tvx {

// At most this many rows, then one row of "..." when more would have followed.
inline constexpr std::size_t kMaxStructRows = 256;
// Bytes a request carries beyond the entry struct when it ends with a flexible array.
inline constexpr std::uint64_t kFlexibleArrayExtraBytes = 256;

// One row per field of the entry struct; a single embedded struct is a header row followed by
// its fields, indented by two blanks (one level deep). No rows without a file or entry.
[[nodiscard]] std::vector<StructViewRow> BuildStructRows(const StructEvalRequest& request);

// The value text of field, whose offset is relative to request.baseOffset; unavailableText when
// the field's bytes are not all in request.data.
[[nodiscard]] std::u16string FormatFieldValue(const FieldLayout& field, const StructEvalRequest& request,
                                              const std::u16string& unavailableText);

// Whether the layout ends with a flexible array, directly or through single embedded structs
// that are last fields.
[[nodiscard]] bool EndsWithFlexibleArray(const StructPatternFile& file, const StructLayout& layout);

// The layout named file.entryName; null when there is none.
[[nodiscard]] const StructLayout* FindEntryLayout(const StructPatternFile& file);
// The layout of the struct embedded as field; null when the field embeds no (known) struct.
[[nodiscard]] const StructLayout* FindEmbeddedLayout(const StructPatternFile& file, const FieldLayout& field);

// The most bytes a request carries, so that a pattern with a huge array costs no more memory
// than this: fields that end beyond it show as unavailable.
inline constexpr std::uint64_t kMaxStructRequestBytes = 16u << 20;

// How many bytes from the caret an evaluation request should carry: the entry struct's size,
// plus kFlexibleArrayExtraBytes when it ends with a flexible array, at most
// kMaxStructRequestBytes; 0 without an entry struct. The caller reads fewer at the end of the
// document.
[[nodiscard]] std::uint64_t StructRequestSize(const StructPatternFile& file);

}  // namespace tvx
