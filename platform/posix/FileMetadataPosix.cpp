// File identity, links and metadata-keeping replaces with stat, realpath, chmod and rename.

#include "platform/FileMetadata.h"

#include "platform/File.h"
#include "platform/Utf8.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tvx::platform {

bool QueryFileIdentity(const std::u16string& path, FileIdentity& identity) {
    struct stat info {};
    if (::stat(EncodeUtf8Bytes(path).c_str(), &info) != 0) return false;
    identity.volume = static_cast<std::uint64_t>(info.st_dev);
    identity.index = static_cast<std::uint64_t>(info.st_ino);
    identity.size = static_cast<std::uint64_t>(info.st_size);
    identity.lastWrite = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
                         static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
    return true;
}

std::u16string ResolveLinks(const std::u16string& path) {
    char* resolved = ::realpath(EncodeUtf8Bytes(path).c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::u16string result = DecodeUtf8Bytes(resolved);
    std::free(resolved);
    return result;
}

bool ReplaceKeepingMetadata(const std::u16string& temporary, const std::u16string& target) {
    struct stat info {};
    if (::stat(EncodeUtf8Bytes(target).c_str(), &info) == 0) {
        const std::string native = EncodeUtf8Bytes(temporary);
        // The owner can only be given where this process may (root, or its own group).
        if (::chown(native.c_str(), info.st_uid, info.st_gid) != 0 && errno != EPERM) return false;
        if (::chmod(native.c_str(), info.st_mode & 07777) != 0) return false;
    }
    return MoveOver(temporary, target);
}

bool ReplacesOpenFiles() noexcept { return true; }

}  // namespace tvx::platform
