#pragma once
// The user-interface texts, looked up by dotted ASCII key in the table of the current
// language. Tables are files "<base>/resources/strings/<locale>.txt", each loaded on its
// first use and kept for the rest of the run. Used on one thread only; no lock.

#include "localization/StringTableParser.h"
#include "settings/Enums.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tvx {

class StringTable {
public:
    // Gives the user's locale name ("ja-JP", "ja_JP.UTF-8"); empty when the system has none.
    using LocaleNameSource = std::function<std::u16string()>;

    // Tables beside the running executable; the user's locale from the system.
    StringTable();
    StringTable(std::u16string baseDirectory, LocaleNameSource userLocaleName);

    void SetLanguage(Language language) { language_ = language; }
    [[nodiscard]] Language GetLanguage() const { return language_; }

    // "en-US" for English, "ja-JP" for Japanese; System (and any other value) asks for the
    // user's locale at every call: "ja-JP" when it begins with "ja", else "en-US".
    [[nodiscard]] std::u16string ResolveLocaleName() const;

    // Loads the locale's table unless one is present. A missing or unreadable file gives
    // an empty table, which is kept like any other.
    void EnsureTableLoaded(const std::u16string& locale);

    // The text for key in the current language's table; the key itself, each byte widened,
    // when the table lacks it. An empty text is returned as it stands.
    [[nodiscard]] std::u16string GetText(std::string_view key);

private:
    std::u16string baseDirectory_;
    Language language_ = Language::System;
    std::unordered_map<std::u16string, StringTableEntries> tables_;
    LocaleNameSource userLocaleName_;
};

}  // namespace tvx
