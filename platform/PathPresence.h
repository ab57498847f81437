#pragma once
// Whether a path names an existing file system entry.

#include <string>

namespace tvx::platform {

enum class PathPresence {
    Present,
    // Not found: a missing entry or folder on the way, an invalid or bad name, a missing
    // network path, or a folder part that names a file.
    Absent,
    // The system could not tell (access denied, device errors, ...).
    Unknown,
};

// GetFileAttributesW and the not-found kinds of its error; stat(2) elsewhere.
[[nodiscard]] PathPresence QueryPathPresence(const std::u16string& path);

}  // namespace tvx::platform
