#include "settings/SettingsLifecycle.h"

#include "platform/AppLocation.h"
#include "platform/CaseCompare.h"
#include "platform/PathPresence.h"
#include "settings/SettingsFile.h"

#include <filesystem>
#include <system_error>

namespace tvx {
namespace {

namespace fs = std::filesystem;

std::u16string InDirectory(const std::u16string& directory, const std::u16string& name) {
    return (fs::path(directory) / fs::path(name)).u16string();
}

// The form under which two paths count as the same file: weakly canonical (symbolic links
// and "." / ".." resolved as far as the path exists), or lexically normal when that fails.
std::u16string ComparableForm(const std::u16string& file) {
    const fs::path path(file);
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    if (error) canonical = path.lexically_normal();
    return canonical.u16string();
}

// A record read from the file starts from the defaults and the reader takes only non-empty
// families and positive sizes, so this holds already; it keeps holding if that changes.
void CorrectLoadedSettings(AppSettings& settings) {
    if (settings.fontFamily.empty()) settings.fontFamily = kDefaultFontFamily;
    if (!(settings.fontSize > 0.0f)) settings.fontSize = kDefaultFontSize;
}

}  // namespace

std::u16string ComputeSettingsPath(const std::u16string& executableDirectory) {
    std::u16string packaged;
    if (platform::PackageLocalStateDirectory(packaged)) {
        std::error_code error;
        fs::create_directories(fs::path(packaged), error);
        if (!error) return InDirectory(packaged, kSettingsFileName);
    }
    return InDirectory(executableDirectory, kSettingsFileName);
}

AppSettings FirstStartSettings(Language language) {
    AppSettings settings;  // Ascii, DarkBlue, "Consolas" 12 neither bold nor italic, empty lists
    settings.appVersion = kAppVersion;
    settings.language = language;
    return settings;
}

void LoadSettingsAtStartup(AppSettings& settings, const std::u16string& path, Language firstStartLanguage) {
    const platform::PathPresence presence = platform::QueryPathPresence(path);
    if (presence == platform::PathPresence::Present) {
        AppSettings loaded;
        if (ReadSettingsFile(loaded, path)) {
            CorrectLoadedSettings(loaded);
            settings = std::move(loaded);
            if (settings.appVersion != kAppVersion) SaveSettings(settings, path);
            return;
        }
    }
    settings = FirstStartSettings(firstStartLanguage);
    // A file whose existence cannot be told may well exist: writing could destroy it.
    if (presence != platform::PathPresence::Unknown) SaveSettings(settings, path);
}

void SaveSettings(AppSettings& settings, const std::u16string& path) {
    settings.appVersion = kAppVersion;
    // Failures are silent by design: the record stays, and the next change writes again.
    static_cast<void>(WriteSettingsFile(settings, path));
}

void AddRecentFile(AppSettings& settings, const std::u16string& file, const std::u16string& path) {
    if (file.empty()) return;
    const std::u16string added = ComparableForm(file);
    std::erase_if(settings.recentFiles, [&](const std::u16string& entry) {
        return platform::EqualIgnoringCase(ComparableForm(entry), added);
    });
    settings.recentFiles.insert(settings.recentFiles.begin(), file);
    if (settings.recentFiles.size() > kMaxRecentFiles) settings.recentFiles.resize(kMaxRecentFiles);
    SaveSettings(settings, path);
}

}  // namespace tvx
