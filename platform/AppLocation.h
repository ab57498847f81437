#pragma once
// Where the running program lives and where a packaged installation keeps its state.

#include <string>

namespace tvx::platform {

// The full path of the running executable, however long (GetModuleFileNameW with a buffer
// grown until the name fits, /proc/self/exe). Empty when it cannot be determined.
[[nodiscard]] std::u16string ExecutablePath();

// The directory that holds the running executable, without a trailing separator
// (GetModuleFileNameW, /proc/self/exe). Empty when it cannot be determined.
[[nodiscard]] std::u16string ExecutableDirectory();

// The packaged application's state folder: the local application data folder, then
// "Packages", the package family name and "LocalState" (GetCurrentPackageFamilyName,
// SHGetKnownFolderPath). False when the program does not run packaged or a part of the
// path cannot be had; the folder itself may not exist yet. Never true on Linux.
[[nodiscard]] bool PackageLocalStateDirectory(std::u16string& directory);

}  // namespace tvx::platform
