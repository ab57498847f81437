#include "settings/JsonScan.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsNames.h"

#include "platform/File.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string_view>

namespace tvx {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char16_t kTemporaryPrefix[] = u"TVS";

std::string Quoted(std::string_view utf8) { return "\"" + EscapeJsonString(utf8) + "\""; }
std::string Quoted(const std::u16string& text) { return Quoted(platform::EncodeUtf8(text)); }

std::string_view Bool(bool value) { return value ? "true" : "false"; }

std::string FontSizeText(float size) {
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << size;
    std::string text = stream.str();
    // The reader takes no exponent ("1e+07" would read back as 1): such a size is written
    // out in positional notation, still rounded to the six significant digits above.
    if (text.find('e') == std::string::npos) return text;
    float rounded = size;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    char digits[128];
    const auto end = std::to_chars(digits, digits + sizeof digits, rounded, std::chars_format::fixed).ptr;
    return std::string(digits, end);
}

// One line: indentation, then "key": value (or the text alone when key is empty), then
// an optional comma and the line end.
class Lines {
public:
    void Add(int indent, std::string_view key, std::string_view value, bool comma) {
        text_.append(static_cast<std::size_t>(indent), ' ');
        if (!key.empty()) text_.append(1, '"').append(key).append("\": ");
        text_.append(value);
        if (comma) text_.append(1, ',');
        text_.append(kLineEnd);
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

std::string RecentFilesArray(const std::vector<std::u16string>& files) {
    std::string out = "[";
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) out += ", ";
        out += Quoted(files[i]);
    }
    return out + "]";
}

std::string SearchHistoryArray(const std::vector<SearchHistoryEntry>& history) {
    std::string out = "[";
    for (std::size_t i = 0; i < history.size(); ++i) {
        if (i > 0) out += ", ";
        out += "{\"kind\": " + Quoted(history[i].kind) + ", \"query\": " + Quoted(history[i].query) + "}";
    }
    return out + "]";
}

bool WriteAll(const platform::FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), 1u << 30));
        std::uint32_t written = 0;
        if (!file.Write(bytes.data(), chunk, written) || written != chunk) return false;
        bytes.remove_prefix(chunk);
    }
    return true;
}

}  // namespace

std::string SerializeSettings(const AppSettings& s) {
    Lines lines;
    lines.Add(0, "", "{", false);
    lines.Add(2, "appVersion", Quoted(s.appVersion), true);
    lines.Add(2, "encoding", Quoted(EncodingName(s.encoding)), true);
    lines.Add(2, "theme", Quoted(ThemeName(s.theme)), true);
    lines.Add(2, "language", Quoted(LanguageName(s.language)), true);
    lines.Add(2, "font", "{", false);
    lines.Add(4, "family", Quoted(s.fontFamily), true);
    lines.Add(4, "size", FontSizeText(s.fontSize), true);
    lines.Add(4, "bold", Bool(s.bold), true);
    lines.Add(4, "italic", Bool(s.italic), false);
    lines.Add(2, "", "}", true);
    lines.Add(2, "analysis", "{", false);
    lines.Add(4, "dataInspector", "{", false);
    lines.Add(6, "visible", Bool(s.dataInspectorVisible), false);
    lines.Add(4, "", "}", true);
    lines.Add(4, "structView", "{", false);
    lines.Add(6, "visible", Bool(s.structViewVisible), true);
    lines.Add(6, "byteArrayFormat", Quoted(ByteArrayFormatName(s.byteArrayFormat)), true);
    lines.Add(6, "endian", Quoted(ByteOrderName(s.byteOrder)), true);
    lines.Add(6, "numericBase", Quoted(NumericBaseName(s.numericBase)), false);
    lines.Add(4, "", "}", false);
    lines.Add(2, "", "}", true);
    lines.Add(2, "recentFiles", RecentFilesArray(s.recentFiles), true);
    lines.Add(2, "searchHistory", SearchHistoryArray(s.searchHistory), false);
    lines.Add(0, "", "}", false);
    return lines.Take();
}

bool WriteSettingsFile(const AppSettings& settings, const std::u16string& path) {
    // Truncating the settings file and writing it again would leave it empty or cut short
    // after a full disk or a crash in between, and the next start would lose everything in
    // it. The text goes to a fresh file beside it, reaches the disk, and only then takes
    // the settings file's place.
    std::string text;
    try {
        text = SerializeSettings(settings);
    } catch (...) {  // out of memory: nothing written, nothing lost
        return false;
    }
    std::u16string directory = platform::ParentDirectory(path);
    if (directory.empty()) directory = u".";
    std::u16string temporary;
    if (!platform::CreateUniqueFile(directory, kTemporaryPrefix, temporary)) return false;
    bool written = false;
    {
        const platform::FileHandle file = platform::OpenExistingForWriting(temporary);
        written = file.IsOpen() && WriteAll(file, text) && file.Flush();
    }
    if (written && platform::MoveOver(temporary, path)) return true;
    platform::RemoveFile(temporary);
    return false;
}

}  // namespace tvx
