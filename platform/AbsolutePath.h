#pragma once
// A path made absolute against the current folder, so that later changes of the current folder
// do not move it. The file need not exist.

#include <optional>
#include <string>

namespace tvx::platform {

// GetFullPathNameW on Windows; elsewhere the current folder joined with a relative path and
// "." and ".." removed lexically (symbolic links are kept as named). Nothing for an empty path
// or when the current folder cannot be read.
[[nodiscard]] std::optional<std::u16string> AbsolutePath(const std::u16string& path);

}  // namespace tvx::platform
