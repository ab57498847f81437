// libFuzzer target: the bytes as a string table file. Every entry has a key of ASCII
// characters without blanks at its ends, and a value that is one line without blanks at its
// ends; reading the entries back as a file of their own gives the same table.

#include "localization/StringTableParser.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

template <typename Text>
bool Trimmed(const Text& text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tvx::fuzz::Require;
    const tvx::StringTableEntries entries = tvx::ParseStringTable(tvx::fuzz::Input(data, size).Rest());
    std::string rewritten;
    std::size_t lines = 0;
    for (const auto& [key, value] : entries) {
        Require(Trimmed(key) && value.find(u'\n') == std::u16string::npos && Trimmed(value));
        for (const char c : key) Require(static_cast<unsigned char>(c) <= 127 && c != '=' && c != '\n');
        if (key.starts_with('#')) continue;  // a blank before it kept it from being a comment
        rewritten += key + "=" + tvx::platform::EncodeUtf8(value) + "\n";
        ++lines;
    }
    const tvx::StringTableEntries reread = tvx::ParseStringTable(rewritten);
    Require(reread.size() == lines);
    for (const auto& [key, value] : reread) {
        const auto original = entries.find(key);
        Require(original != entries.end() && original->second == value);
    }
    return 0;
}
