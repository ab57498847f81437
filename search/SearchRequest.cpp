#include "search/SearchRequest.h"

#include <algorithm>

namespace tvx {

PreparedSearch PrepareSearch(SearchQueryKind kind, std::u16string_view query, TextEncoding encoding) {
    PreparedSearch prepared;
    prepared.query = std::u16string(TrimSearchQuery(query));
    prepared.pattern =
        kind == SearchQueryKind::Text ? EncodeTextQuery(prepared.query, encoding) : ParseHexQuery(prepared.query);
    if (!prepared.pattern) {
        prepared.errorKey = kind == SearchQueryKind::Text ? "error.search_invalid_text" : "error.search_invalid_hex";
    } else if (prepared.pattern->size() > kMaxSearchPatternLength) {
        prepared.pattern.reset();
        prepared.errorKey = "error.search_too_long";
    }
    return prepared;
}

PreparedReplacement PrepareReplacement(SearchQueryKind kind, std::u16string_view text, TextEncoding encoding) {
    if (text.empty() || (kind == SearchQueryKind::Hex && TrimSearchQuery(text).empty())) return {SearchPattern{}, nullptr};
    if (kind == SearchQueryKind::Hex) {
        PreparedSearch prepared = PrepareSearch(kind, text, encoding);
        return {std::move(prepared.pattern), prepared.errorKey};
    }
    std::optional<SearchPattern> bytes = EncodeTextQuery(text, encoding);
    if (!bytes) return {std::nullopt, "error.search_invalid_text"};
    if (bytes->size() > kMaxSearchPatternLength) return {std::nullopt, "error.search_too_long"};
    return {std::move(bytes), nullptr};
}

std::size_t TextQueryLengthLimit(TextEncoding encoding) {
    const bool utf16 = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    return utf16 ? kMaxSearchPatternLength / 2 : kMaxSearchPatternLength;
}

const char16_t* SearchKindName(SearchQueryKind kind) { return kind == SearchQueryKind::Text ? u"text" : u"hex"; }

std::optional<std::uint64_t> ChooseSearchStart(SearchDirection direction, std::uint64_t caret,
                                               const std::optional<SearchSelection>& selection,
                                               std::uint64_t documentSize) {
    if (!selection) return caret;
    const std::uint64_t low = std::min(selection->anchor, selection->active);
    if (direction == SearchDirection::Previous) {
        if (low == 0) return std::nullopt;
        return low - 1;
    }
    if (documentSize == 0 || low >= documentSize - 1) return std::nullopt;
    return low + 1;
}

}  // namespace tvx
