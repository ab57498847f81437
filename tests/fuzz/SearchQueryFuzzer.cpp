// libFuzzer target: the typed texts of the search dialog and the go-to prompt. The first byte
// chooses how the rest becomes UTF-16: decoded as UTF-8, or taken as raw little-endian units
// (lone surrogates included). Hexadecimal queries and go-to offsets read back from their own
// formatting; text queries encode to bytes that decode to the query in every encoding.

#include "app/HexOffset.h"
#include "platform/Utf8.h"
#include "search/SearchRequest.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using tvx::fuzz::Require;

void CheckHexQuery(std::u16string_view text) {
    const auto pattern = tvx::ParseHexQuery(text);
    if (pattern) Require(tvx::ParseHexQuery(tvx::fuzz::HexText(*pattern, u"0123456789abcdef")) == pattern);
}

void CheckTextQuery(std::u16string_view text, tvx::TextEncoding encoding) {
    const auto pattern = tvx::EncodeTextQuery(text, encoding);
    if (!pattern) return;
    const std::string bytes(pattern->begin(), pattern->end());
    std::u16string decoded;
    switch (encoding) {
    case tvx::TextEncoding::Ascii: decoded.assign(bytes.begin(), bytes.end()); break;
    case tvx::TextEncoding::Utf8:
        // Valid UTF-8 whatever the text; lone surrogates come back as U+FFFD.
        Require(tvx::platform::DecodeUtf8Strict(bytes, decoded));
        Require(decoded.size() == text.size());
        return;
    case tvx::TextEncoding::Utf16Le: decoded = tvx::fuzz::AsUnits(bytes); break;
    case tvx::TextEncoding::Utf16Be: decoded = tvx::fuzz::AsUnits(bytes, false); break;
    }
    Require(decoded == text);
}

void CheckPrepared(tvx::SearchQueryKind kind, std::u16string_view text, tvx::TextEncoding encoding) {
    const tvx::PreparedSearch prepared = tvx::PrepareSearch(kind, text, encoding);
    Require(prepared.pattern.has_value() == (prepared.errorKey == nullptr));
    Require(!prepared.pattern || (!prepared.pattern->empty() && prepared.pattern->size() <= tvx::kMaxSearchPatternLength));
    Require(prepared.query == tvx::TrimSearchQuery(prepared.query));
}

void CheckOffset(std::u16string_view text) {
    const auto offset = tvx::ParseHexOffset(text);
    if (!offset) return;
    const std::u16string formatted = tvx::FormatHexOffset(*offset);
    Require(tvx::ParseHexOffset(formatted) == offset && tvx::ParseHexOffset(u" 0x" + formatted + u" ") == offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::fuzz::Input input(data, size);
    const std::u16string text = tvx::fuzz::TextFrom(input);

    CheckHexQuery(text);
    CheckOffset(text);
    for (int encoding = 0; encoding <= 4; ++encoding) {  // 4 lies outside the enumeration
        const auto chosen = static_cast<tvx::TextEncoding>(encoding);
        if (encoding < 4) CheckTextQuery(text, chosen);
        CheckPrepared(tvx::SearchQueryKind::Text, text, chosen);
    }
    CheckPrepared(tvx::SearchQueryKind::Hex, text, tvx::TextEncoding::Ascii);
    return 0;
}
