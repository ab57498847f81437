#pragma once
// What kind of entry a path names, so that a program can refuse what it cannot read as a file
// (a pipe would block it, a device never ends) before opening it.

#include <string>

namespace tvx::platform {

enum class FileKind {
    Regular,
    Directory,
    Other,        // a pipe, socket, device or anything else that is not a file on disk
    Unavailable,  // the path cannot be examined: LastError() tells why
};

// Follows symbolic links. stat(2); on Windows GetFileAttributesW, with device names (NUL,
// CON, COM1, \\.\...) as Other.
[[nodiscard]] FileKind QueryFileKind(const std::u16string& path);

}  // namespace tvx::platform
