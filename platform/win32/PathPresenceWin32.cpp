#include "platform/PathPresence.h"

#include <windows.h>

namespace tvx::platform {

PathPresence QueryPathPresence(const std::u16string& path) {
    const std::wstring wide(path.begin(), path.end());
    if (::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return PathPresence::Present;
    switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:  // a folder part names a file
        return PathPresence::Absent;
    default:
        return PathPresence::Unknown;
    }
}

}  // namespace tvx::platform
