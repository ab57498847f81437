#pragma once
// The user's preferences and histories: one record, written whole after every change.

#include "settings/Enums.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tvx {

// The program's version, stamped into the record before every write.
inline constexpr char16_t kAppVersion[] = u"v1.02";

inline constexpr char16_t kDefaultFontFamily[] = u"Consolas";
inline constexpr float kDefaultFontSize = 12.0f;

// The recent-files list and the search history each hold at most this many entries.
inline constexpr std::size_t kMaxRecentFiles = 16;
inline constexpr std::size_t kMaxSearchHistory = 16;

// One query of the search history: kind "text" or "hex", the query as searched.
struct SearchHistoryEntry {
    std::u16string kind;
    std::u16string query;

    bool operator==(const SearchHistoryEntry&) const = default;
};

// Field defaults are the record defaults; the first start replaces a few of them
// (see FirstStartSettings).
struct AppSettings {
    bool dataInspectorVisible = true;
    bool structViewVisible = false;
    ByteArrayFormat byteArrayFormat = ByteArrayFormat::Hex;
    ByteOrder byteOrder = ByteOrder::Little;
    NumericBase numericBase = NumericBase::Hex;
    std::u16string appVersion;
    TextEncoding encoding = TextEncoding::Ascii;
    Theme theme = Theme::DarkBlue;
    Language language = Language::System;
    std::u16string fontFamily = kDefaultFontFamily;
    float fontSize = kDefaultFontSize;  // points
    bool bold = false;
    bool italic = false;
    std::vector<std::u16string> recentFiles;       // most recent first
    std::vector<SearchHistoryEntry> searchHistory;  // newest first

    bool operator==(const AppSettings&) const = default;
};

}  // namespace tvx
