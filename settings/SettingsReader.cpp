#include "settings/JsonScan.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsNames.h"

#include "platform/FileContents.h"
#include "platform/Utf8.h"

#include <string_view>

namespace tvx {
namespace {

// A settings file is a few hundred bytes; reading stops here so that a huge file in its
// place cannot exhaust memory. What lies beyond is treated as missing.
constexpr std::size_t kMaxBytes = 64u << 20;

// Applies a string value found under key; empty values are ignored when skipEmpty is set.
template <typename Apply>
void WithString(std::string_view text, std::string_view key, std::size_t from, bool skipEmpty, Apply apply) {
    const auto value = ReadStringValue(text, key, from);
    if (value && !(skipEmpty && value->empty())) apply(*value);
}

template <typename Apply>
void WithBool(std::string_view text, std::string_view key, std::size_t from, Apply apply) {
    if (const auto value = ReadBoolValue(text, key, from)) apply(*value);
}

void ReadFont(std::string_view text, AppSettings& s) {
    const std::size_t font = text.find("\"font\"");
    if (font == std::string_view::npos) return;
    WithString(text, "family", font, true, [&](const std::string& v) { s.fontFamily = platform::DecodeUtf8(v); });
    if (const auto size = ReadFloatValue(text, "size", font); size && *size > 0.0f) s.fontSize = *size;
    WithBool(text, "bold", font, [&](bool v) { s.bold = v; });
    WithBool(text, "italic", font, [&](bool v) { s.italic = v; });
}

void ReadAnalysis(std::string_view text, AppSettings& s) {
    const auto analysis = FindObjectStart(text, "analysis", 0);
    if (!analysis) return;
    if (const auto inspector = FindObjectStart(text, "dataInspector", *analysis))
        WithBool(text, "visible", *inspector, [&](bool v) { s.dataInspectorVisible = v; });
    const auto structView = FindObjectStart(text, "structView", *analysis);
    if (!structView) return;
    WithBool(text, "visible", *structView, [&](bool v) { s.structViewVisible = v; });
    WithString(text, "byteArrayFormat", *structView, false,
               [&](const std::string& v) { s.byteArrayFormat = ByteArrayFormatFromName(v); });
    WithString(text, "endian", *structView, false, [&](const std::string& v) { s.byteOrder = ByteOrderFromName(v); });
    WithString(text, "numericBase", *structView, false,
               [&](const std::string& v) { s.numericBase = NumericBaseFromName(v); });
}

}  // namespace

bool ReadSettingsFile(AppSettings& settings, const std::u16string& path) {
    std::string bytes;
    if (!platform::ReadFileContents(path, kMaxBytes, bytes)) return false;
    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

    AppSettings& s = settings;
    WithString(text, "appVersion", 0, true, [&](const std::string& v) { s.appVersion = platform::DecodeUtf8(v); });
    WithString(text, "encoding", 0, true, [&](const std::string& v) { s.encoding = EncodingFromName(v); });
    WithString(text, "theme", 0, true, [&](const std::string& v) { s.theme = ThemeFromName(v); });
    WithString(text, "language", 0, true, [&](const std::string& v) { s.language = LanguageFromName(v); });
    // The lists never hold more entries than the program keeps; a longer list in a
    // hand-edited or garbled file is cut, which also bounds what a hostile file can add.
    s.recentFiles = ReadStringArray(text, "recentFiles", kMaxRecentFiles);
    s.searchHistory = ReadSearchHistory(text, kMaxSearchHistory);
    ReadFont(text, s);
    ReadAnalysis(text, s);
    return true;
}

}  // namespace tvx
