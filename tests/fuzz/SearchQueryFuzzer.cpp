// libFuzzer target: the typed texts of the search dialog and the go-to prompt (see Input::Text,
// lone surrogates included). Hexadecimal queries and go-to offsets read back from their own
// formatting; text queries encode to bytes that decode to the query in every encoding (in UTF-8
// with U+FFFD for lone surrogates); a prepared query is trimmed, and either refused with a reason
// or a pattern no longer than a search takes.

#include "app/HexOffset.h"
#include "search/SearchRequest.h"
#include "tests/fuzz/FuzzSupport.h"

using tvx::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = tvx::fuzz::Input(data, size).Text();
    if (const auto pattern = tvx::ParseHexQuery(text))
        Require(tvx::ParseHexQuery(tvx::fuzz::HexText(*pattern, u"0123456789abcdef")) == pattern);
    if (const auto offset = tvx::ParseHexOffset(text)) {
        const std::u16string formatted = tvx::FormatHexOffset(*offset);
        Require(tvx::ParseHexOffset(formatted) == offset && tvx::ParseHexOffset(u" 0x" + formatted + u" ") == offset);
    }

    for (int value = 0; value <= 4; ++value) {  // 4 lies outside the enumeration
        const auto encoding = static_cast<tvx::TextEncoding>(value);
        const bool utf8 = encoding == tvx::TextEncoding::Utf8;
        if (const auto pattern = tvx::EncodeTextQuery(text, encoding))
            Require(tvx::fuzz::Decoded(*pattern, encoding) == (utf8 ? tvx::fuzz::LoneSurrogatesReplaced(text) : text));
        for (const auto kind : {tvx::SearchQueryKind::Hex, tvx::SearchQueryKind::Text}) {
            const tvx::PreparedSearch prepared = tvx::PrepareSearch(kind, text, encoding);
            Require(prepared.pattern.has_value() == (prepared.errorKey == nullptr));
            Require(!prepared.pattern || !prepared.pattern->empty());
            Require(!prepared.pattern || prepared.pattern->size() <= tvx::kMaxSearchPatternLength);
            Require(prepared.query == tvx::TrimSearchQuery(prepared.query));
        }
    }
    return 0;
}
