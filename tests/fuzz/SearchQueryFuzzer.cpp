// libFuzzer target: the typed texts of the search dialog and the go-to prompt (see Input::Text).
// Hexadecimal queries and go-to offsets read back from their own formatting; text queries encode
// to bytes that decode to the query in every encoding (in UTF-8 with U+FFFD for lone surrogates);
// a prepared query is trimmed, and either refused with a reason or short enough to search for.

#include "app/HexOffset.h"
#include "search/SearchRequest.h"
#include "tests/fuzz/FuzzSupport.h"

void tvx::fuzz::TestOneInput(Input input) {
    const std::u16string text = input.Text();
    if (const auto pattern = ParseHexQuery(text))
        Require(ParseHexQuery(HexText(*pattern, u"0123456789abcdef")) == pattern);
    if (const auto offset = ParseHexOffset(text))
        for (const std::u16string& formatted : {FormatHexOffset(*offset), u" 0x" + FormatHexOffset(*offset) + u" "})
            Require(ParseHexOffset(formatted) == offset);

    for (int value = 0; value <= 4; ++value) {  // 4 lies outside the enumeration
        const auto encoding = static_cast<TextEncoding>(value);
        const std::u16string expected = encoding == TextEncoding::Utf8 ? LoneSurrogatesReplaced(text) : text;
        if (const auto pattern = EncodeTextQuery(text, encoding)) Require(Decoded(*pattern, encoding) == expected);
        for (const auto kind : {SearchQueryKind::Hex, SearchQueryKind::Text}) {
            const auto [pattern, errorKey, query] = PrepareSearch(kind, text, encoding);
            Require(pattern.has_value() == (errorKey == nullptr) && query == TrimSearchQuery(query));
            Require(!pattern || (!pattern->empty() && pattern->size() <= kMaxSearchPatternLength));
        }
    }
}
