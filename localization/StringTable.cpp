#include "localization/StringTable.h"

#include "localization/UserLanguage.h"
#include "platform/AppLocation.h"
#include "platform/FileContents.h"
#include "platform/Locale.h"

#include <filesystem>
#include <utility>

namespace tvx {
namespace {

// A string table holds a few hundred short lines; a larger file is cut here.
constexpr std::size_t kMaxTableBytes = 16u << 20;

}  // namespace

StringTable::StringTable() : StringTable(platform::ExecutableDirectory(), platform::UserDefaultLocaleName) {}

StringTable::StringTable(std::u16string baseDirectory, LocaleNameSource userLocaleName)
    : baseDirectory_(std::move(baseDirectory)), userLocaleName_(std::move(userLocaleName)) {}

std::u16string StringTable::ResolveLocaleName() const {
    switch (language_) {
    case Language::English: return u"en-US";
    case Language::Japanese: return u"ja-JP";
    default: break;
    }
    const std::u16string name = userLocaleName_ ? userLocaleName_() : std::u16string();
    return LanguageForLocaleName(name) == Language::Japanese ? u"ja-JP" : u"en-US";
}

void StringTable::EnsureTableLoaded(const std::u16string& locale) {
    if (tables_.contains(locale)) return;
    const std::filesystem::path file =
        std::filesystem::path(baseDirectory_) / "resources" / "strings" / (locale + u".txt");
    std::string bytes;
    StringTableEntries entries;
    if (platform::ReadFileContents(file.u16string(), kMaxTableBytes, bytes)) entries = ParseStringTable(bytes);
    tables_.emplace(locale, std::move(entries));
}

std::u16string StringTable::GetText(std::string_view key) {
    const std::u16string locale = ResolveLocaleName();
    EnsureTableLoaded(locale);
    const StringTableEntries& entries = tables_.at(locale);
    if (const auto found = entries.find(std::string(key)); found != entries.end()) return found->second;
    std::u16string widened;
    widened.reserve(key.size());
    for (const char c : key) widened += static_cast<char16_t>(static_cast<unsigned char>(c));
    return widened;
}

}  // namespace tvx
