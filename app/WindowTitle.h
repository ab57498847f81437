#pragma once
// The main window's title.

#include <string>

namespace tvx {

// The part of path after its last backslash or slash (and after a drive's colon).
[[nodiscard]] std::u16string FileNamePart(const std::u16string& path);

// appTitle alone without a file; else appTitle, " - ", the file name and, for unsaved
// changes, " *".
[[nodiscard]] std::u16string BuildWindowTitle(const std::u16string& appTitle, bool fileOpen,
                                              const std::u16string& path, bool modified);

}  // namespace tvx
