#pragma once
// The settings file, "tavro.settings.json": one fixed layout written, any layout read.

#include "settings/AppSettings.h"

#include <string>

namespace tvx {

// The file's text: 25 lines with CR LF ends, two-space indentation and a fixed key order,
// UTF-8 without a byte order mark. The font size is written as the standard stream's
// default formatting writes a float ("12", "10.5"), whatever the user's locale.
[[nodiscard]] std::string SerializeSettings(const AppSettings& settings);

// Writes the text to a new file in the same folder, flushes it to disk and puts it in
// place of path, so an interrupted write leaves the previous file as it was. False when
// any step fails; the temporary file is then removed.
[[nodiscard]] bool WriteSettingsFile(const AppSettings& settings, const std::u16string& path);

// Reads the file into settings. False only when the file cannot be opened or read; then
// settings is unchanged. Otherwise every value found replaces the record's, everything not
// found or not understood stays, and the two lists are replaced by the file's (empty when
// their arrays are missing, cut to 16 entries each). A leading UTF-8 byte order mark is
// skipped.
[[nodiscard]] bool ReadSettingsFile(AppSettings& settings, const std::u16string& path);

}  // namespace tvx
