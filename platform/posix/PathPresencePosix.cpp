#include "platform/PathPresence.h"

#include "platform/Utf8.h"

#include <cerrno>
#include <sys/stat.h>

namespace tvx::platform {

PathPresence QueryPathPresence(const std::u16string& path) {
    if (path.empty()) return PathPresence::Absent;  // the Win32 call finds no such path either
    struct stat info {};
    if (::stat(EncodeUtf8Bytes(path).c_str(), &info) == 0) return PathPresence::Present;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:  // a folder part names a file
    case ENAMETOOLONG:
    case EINVAL:
        return PathPresence::Absent;
    default:
        return PathPresence::Unknown;
    }
}

}  // namespace tvx::platform
