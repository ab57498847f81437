#pragma once
// Reading a small file whole.

#include <cstddef>
#include <string>

namespace tvx::platform {

// Reads the file's bytes, at most maxBytes of them (a longer file is cut there), into
// bytes. False when the file cannot be opened or a read fails; bytes is then empty.
[[nodiscard]] bool ReadFileContents(const std::u16string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace tvx::platform
