// File identity, links and metadata-keeping replaces with GetFileInformationByHandle,
// GetFinalPathNameByHandleW and ReplaceFileW.

#include "platform/FileMetadata.h"

#include "platform/File.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tvx::platform {
namespace {

// Opened for its attributes only: no access to its bytes, shared with everyone.
HANDLE OpenForQuery(const std::u16string& path) {
    return ::CreateFileW(Wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Gives the replacement the target's attributes (but read-only, which would stop the replace)
// and access control. ReplaceFileW does this itself; Wine's does not.
void CopyAttributesAndSecurity(const std::wstring& target, const std::wstring& replacement) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(replacement.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    constexpr SECURITY_INFORMATION kParts = DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    ::GetFileSecurityW(target.c_str(), kParts, nullptr, 0, &needed);
    if (needed == 0) return;
    std::vector<std::uint8_t> descriptor(needed);
    if (::GetFileSecurityW(target.c_str(), kParts, descriptor.data(), needed, &needed))
        ::SetFileSecurityW(replacement.c_str(), kParts, descriptor.data());
}

}  // namespace

bool QueryFileIdentity(const std::u16string& path, FileIdentity& identity) {
    const HANDLE file = OpenForQuery(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(file, &info) != 0;
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    ::SetLastError(error);
    if (!ok) return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    identity.lastWrite = (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                         info.ftLastWriteTime.dwLowDateTime;
    return true;
}

std::u16string ResolveLinks(const std::u16string& path) {
    const HANDLE file = OpenForQuery(path);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    ::CloseHandle(file);
    if (length == 0 || length >= buffer.size()) return path;
    buffer.resize(length);
    // "\\?\C:\..." back to "C:\..."; "\\?\UNC\server\..." back to "\\server\...".
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) buffer = L"\\\\" + buffer.substr(8);
    else if (buffer.rfind(L"\\\\?\\", 0) == 0) buffer = buffer.substr(4);
    return std::u16string(buffer.begin(), buffer.end());
}

bool ReplaceKeepingMetadata(const std::u16string& temporary, const std::u16string& target) {
    const std::wstring targetName = Wide(target), temporaryName = Wide(temporary);
    // A target that another program holds open without sharing deletion cannot be replaced:
    // tell so before ReplaceFileW tries (Wine's would leave a file of its own behind).
    const HANDLE probe = ::CreateFileW(targetName.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) return MoveOver(temporary, target);
        return false;
    }
    ::CloseHandle(probe);
    CopyAttributesAndSecurity(targetName, temporaryName);
    if (::ReplaceFileW(targetName.c_str(), temporaryName.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr))
        return true;
    // ReplaceFileW needs an existing target on a volume that supports it; without one there
    // is no metadata to keep, and the move is the whole replace.
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED)
        return false;
    return MoveOver(temporary, target);
}

bool ReplacesOpenFiles() noexcept { return false; }

}  // namespace tvx::platform
