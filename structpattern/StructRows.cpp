#include "structpattern/StructRows.h"

#include "structpattern/NumberText.h"
#include "structpattern/TypeNames.h"
#include "structpattern/ValueText.h"

#include <algorithm>

namespace tvx {
namespace {

bool IsSingleEmbeddedStruct(const FieldLayout& field) {
    return !field.structName.empty() && field.kind == FieldKind::Bytes && field.count == 1;
}

std::u16string SizeText(const FieldLayout& field) {
    if (field.flexible) return DecimalText(field.elementSize) + u"+";
    return DecimalText(field.size);
}

// Collects rows up to the limit; once full, further rows mark the list truncated.
class RowList {
public:
    [[nodiscard]] bool Add(StructViewRow row) {
        if (rows_.size() == kMaxStructRows) {
            truncated_ = true;
            return false;
        }
        rows_.push_back(std::move(row));
        return true;
    }
    std::vector<StructViewRow> Finish() {
        if (truncated_) rows_.push_back(StructViewRow{u"...", u"...", u"...", u"..."});
        return std::move(rows_);
    }

private:
    std::vector<StructViewRow> rows_;
    bool truncated_ = false;
};

// The rows of one field of the entry struct; false once the row limit is reached.
bool AddFieldRows(const StructPatternFile& file, const FieldLayout& field, const StructEvalRequest& request,
                  const std::u16string& unavailable, RowList& rows) {
    const std::u16string offset = FormatOffsetText(request.baseOffset, field.offset);
    if (!IsSingleEmbeddedStruct(field))
        return rows.Add({field.name, offset, FormatFieldValue(field, request, unavailable), SizeText(field)});

    if (!rows.Add({field.name + u" : " + field.structName, offset, {}, SizeText(field)})) return false;
    const StructLayout* inner = FindEmbeddedLayout(file, field);
    if (inner == nullptr) return true;
    for (const FieldLayout& innerField : inner->fields) {
        FieldLayout moved = innerField;
        moved.offset += field.offset;  // within the outer struct's size: no overflow
        if (!rows.Add({u"  " + innerField.name, FormatOffsetText(request.baseOffset, moved.offset),
                       FormatFieldValue(moved, request, unavailable), SizeText(innerField)}))
            return false;
    }
    return true;
}

}  // namespace

std::vector<StructViewRow> BuildStructRows(const StructEvalRequest& request) {
    if (request.file == nullptr) return {};
    const StructPatternFile& file = *request.file;
    const StructLayout* entry = FindEntryLayout(file);
    if (entry == nullptr) return {};
    const std::u16string unavailable = request.unavailableText.empty() ? u"-" : request.unavailableText;

    RowList rows;
    for (const FieldLayout& field : entry->fields) {
        if (!AddFieldRows(file, field, request, unavailable, rows)) break;
    }
    return rows.Finish();
}

std::u16string FormatFieldValue(const FieldLayout& field, const StructEvalRequest& request,
                                const std::u16string& unavailableText) {
    const std::vector<std::uint8_t>& data = request.data;
    // Compared without adding offset and size, which could pass 2^64 - 1.
    if (field.offset > data.size()) return unavailableText;
    const std::uint64_t rest = data.size() - field.offset;
    const std::uint64_t available = field.flexible ? rest : field.size;
    if (available > rest) return unavailableText;

    const std::uint8_t* p = data.data() + field.offset;
    const std::size_t n = static_cast<std::size_t>(available);
    const bool asChars = request.format.byteArrayFormat == ByteArrayFormat::Ascii && IsCharTypeName(field.normalizedType);
    if (field.padding) return FormatHexBytes(p, n);
    if (field.flexible) return asChars ? FormatCharArray(p, n) : FormatByteArray(p, n);
    if (field.count < 2 && field.kind != FieldKind::Bytes) {
        if (field.kind == FieldKind::Integer) return FormatIntegerValue(p, n, request.format.byteOrder, request.format.numericBase);
        return FormatFloatValue(p, n, field.kind, request.format);
    }
    return asChars ? FormatCharArray(p, n) : FormatByteArray(p, n);
}

bool EndsWithFlexibleArray(const StructPatternFile& file, const StructLayout& layout) {
    // A loop, not recursion: embedding chains may be arbitrarily deep, and they end because a
    // struct never embeds itself. The bound only guards hand-made files.
    const StructLayout* current = &layout;
    for (std::size_t depth = 0; depth <= file.structs.size(); ++depth) {
        if (current->fields.empty()) return false;
        const FieldLayout& last = current->fields.back();
        if (last.flexible) return true;
        if (!IsSingleEmbeddedStruct(last)) return false;
        current = FindEmbeddedLayout(file, last);
        if (current == nullptr) return false;
    }
    return false;
}

const StructLayout* FindEntryLayout(const StructPatternFile& file) {
    for (const StructLayout& layout : file.structs) {
        if (layout.name == file.entryName) return &layout;
    }
    return nullptr;
}

const StructLayout* FindEmbeddedLayout(const StructPatternFile& file, const FieldLayout& field) {
    if (field.structName.empty() || field.structIndex >= file.structs.size()) return nullptr;
    const StructLayout& layout = file.structs[field.structIndex];
    return layout.name == field.structName ? &layout : nullptr;
}

std::uint64_t StructRequestSize(const StructPatternFile& file) {
    const StructLayout* entry = FindEntryLayout(file);
    if (entry == nullptr) return 0;
    const std::uint64_t size = std::min(entry->size, kMaxStructRequestBytes);
    if (!EndsWithFlexibleArray(file, *entry)) return size;
    return std::min(size + kFlexibleArrayExtraBytes, kMaxStructRequestBytes);
}

}  // namespace tvx
