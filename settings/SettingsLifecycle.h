#pragma once
// Where the settings file lives, the load at start-up, and the writes after each change.
// User-interface thread only.

#include "settings/AppSettings.h"

#include <string>

namespace tvx {

inline constexpr char16_t kSettingsFileName[] = u"tavro.settings.json";

// The packaged application's LocalState folder (created with its parents when missing)
// plus the file name; in every other case, and silently when the packaged folder cannot
// be had or created, executableDirectory plus the file name.
[[nodiscard]] std::u16string ComputeSettingsPath(const std::u16string& executableDirectory);

// The record a first start writes: the record defaults with version "v1.02" and the
// given language.
[[nodiscard]] AppSettings FirstStartSettings(Language language);

// Fills settings from the file at path. A readable file is corrected and rewritten only
// when its version is not "v1.02". A missing or unreadable file gives the first-start record
// (firstStartLanguage), which is written. When the file's existence cannot be determined at all (access denied on the
// way), the first-start record is used but nothing is written, so that a file Tavro cannot
// see is not replaced.
void LoadSettingsAtStartup(AppSettings& settings, const std::u16string& path, Language firstStartLanguage);

// Stamps "v1.02" into the record and writes it whole. A failure is not reported: the
// record stays as it is and the next write tries again.
void SaveSettings(AppSettings& settings, const std::u16string& path);

// Puts file (unless empty) at the front of the recent-files list, removing the entries
// that name the same file (compared in weakly canonical form, ignoring case), keeps at
// most 16 entries, and saves.
void AddRecentFile(AppSettings& settings, const std::u16string& file, const std::u16string& path);

}  // namespace tvx
