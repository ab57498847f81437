#include "localization/StringTableParser.h"

#include "platform/Utf8.h"

namespace tvx {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string NarrowKey(std::u16string_view key) {
    std::string narrow;
    narrow.reserve(key.size());
    for (const char16_t c : key) narrow += c <= 127 ? static_cast<char>(c) : '?';
    return narrow;
}

}  // namespace

StringTableEntries ParseStringTable(std::string_view bytes) {
    StringTableEntries entries;
    while (!bytes.empty()) {
        // UTF-8 never uses the byte 0A inside a sequence, so splitting before decoding is
        // exact, and a line with a bad sequence is decoded on its own.
        const std::size_t end = bytes.find('\n');
        const std::string_view raw = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);

        const std::u16string line = platform::DecodeUtf8(raw);
        if (line.empty() || line.front() == u'#') continue;
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string::npos) continue;
        const std::u16string_view view = line;
        entries.try_emplace(NarrowKey(Trim(view.substr(0, equals))), Trim(view.substr(equals + 1)));
    }
    return entries;
}

}  // namespace tvx
