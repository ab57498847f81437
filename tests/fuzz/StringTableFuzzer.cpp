// libFuzzer target: the bytes as a string table file. Every entry has a key of ASCII
// characters without blanks at its ends, and a value that is one line without blanks at its
// ends; reading the entries back as a file of their own gives the same table.

#include "localization/StringTableParser.h"
#include "tests/fuzz/FuzzSupport.h"

void tvx::fuzz::TestOneInput(Input input) {
    const auto trimmed = [](const auto& text) {
        const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
        return text.empty() || (!blank(text.front()) && !blank(text.back()));
    };
    const StringTableEntries entries = ParseStringTable(input.Rest());
    std::string rewritten;
    StringTableEntries kept;
    for (const auto& [key, value] : entries) {
        Require(trimmed(key) && value.find(u'\n') == std::u16string::npos && trimmed(value));
        for (const char c : key) Require(static_cast<unsigned char>(c) <= 127 && c != '=' && c != '\n');
        if (key.starts_with('#')) continue;  // a blank before it kept it from being a comment
        rewritten += key + "=" + platform::EncodeUtf8(value) + "\n";
        kept.emplace(key, value);
    }
    Require(ParseStringTable(rewritten) == kept);
}
