#include "platform/FileKind.h"

#include "platform/Utf8.h"

#include <sys/stat.h>

namespace tvx::platform {

FileKind QueryFileKind(const std::u16string& path) {
    struct stat info {};
    if (::stat(EncodeUtf8Bytes(path).c_str(), &info) != 0) return FileKind::Unavailable;
    if (S_ISREG(info.st_mode)) return FileKind::Regular;
    if (S_ISDIR(info.st_mode)) return FileKind::Directory;
    return FileKind::Other;
}

}  // namespace tvx::platform
