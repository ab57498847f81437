// Win32 file calls.

#include "platform/File.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace tvx::platform {
namespace {

HANDLE Native(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

FileHandle Create(const std::u16string& path, DWORD access, DWORD share, DWORD disposition) {
    const HANDLE handle = ::CreateFileW(Wide(path), access, share, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    return FileHandle(reinterpret_cast<std::intptr_t>(handle));
}

}  // namespace

ErrorCode LastError() noexcept { return ::GetLastError(); }

void ClearLastError() noexcept { ::SetLastError(0); }

std::u16string SystemErrorText(ErrorCode code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) return {};
    std::u16string text = FromWide(buffer, length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    return text;
}

FileHandle::~FileHandle() { Close(); }

FileHandle::FileHandle(FileHandle&& other) noexcept : native_(other.native_) { other.native_ = kInvalid; }

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        native_ = other.native_;
        other.native_ = kInvalid;
    }
    return *this;
}

void FileHandle::Close() noexcept {
    if (!IsOpen()) return;
    const DWORD saved = ::GetLastError();
    ::CloseHandle(Native(native_));
    ::SetLastError(saved);
    native_ = kInvalid;
}

bool FileHandle::QuerySize(std::uint64_t& size) const noexcept {
    LARGE_INTEGER value{};
    if (!::GetFileSizeEx(Native(native_), &value)) return false;
    size = static_cast<std::uint64_t>(value.QuadPart);
    return true;
}

bool FileHandle::Seek(std::uint64_t offset) const noexcept {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(Native(native_), distance, nullptr, FILE_BEGIN) != 0;
}

bool FileHandle::Read(void* buffer, std::uint32_t count, std::uint32_t& read) const noexcept {
    DWORD done = 0;
    const BOOL ok = ::ReadFile(Native(native_), buffer, count, &done, nullptr);
    read = done;
    return ok != 0;
}

bool FileHandle::ReadScattered(std::uint64_t offset, std::span<const ReadPart> parts,
                               std::uint64_t& read) const noexcept {
    read = 0;
    if (!Seek(offset)) return false;
    for (const ReadPart& part : parts) {
        std::uint32_t done = 0;
        if (!Read(part.buffer, part.length, done)) return false;
        read += done;
        if (done < part.length) break;  // end of file
    }
    return true;
}

bool FileHandle::Write(const void* buffer, std::uint32_t count, std::uint32_t& written) const noexcept {
    DWORD done = 0;
    const BOOL ok = ::WriteFile(Native(native_), buffer, count, &done, nullptr);
    written = done;
    return ok != 0;
}

bool FileHandle::SetEnd() const noexcept { return ::SetEndOfFile(Native(native_)) != 0; }

bool FileHandle::Reserve(std::uint64_t offset, std::uint64_t length) const noexcept {
    if (length == 0) return true;
    std::uint64_t size = 0;
    if (!QuerySize(size)) return false;
    if (offset + length <= size) return true;  // within the file: nothing is reserved for holes here
    // Growing the file allocates its new end; the writes that follow fill it.
    return Seek(offset + length) && SetEnd();
}

bool FileHandle::Flush() const noexcept { return ::FlushFileBuffers(Native(native_)) != 0; }

FileHandle OpenForReading(const std::u16string& path) {
    return Create(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

FileHandle OpenExistingForWriting(const std::u16string& path) {
    return Create(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
}

FileHandle CreateForWriting(const std::u16string& path) { return Create(path, GENERIC_WRITE, 0, CREATE_ALWAYS); }

bool CreateUniqueFile(const std::u16string& directory, const std::u16string& prefix, std::u16string& path) {
    wchar_t buffer[MAX_PATH] = {};
    if (::GetTempFileNameW(Wide(directory), Wide(prefix), 0, buffer) == 0) return false;
    path = FromWide(buffer, ::wcslen(buffer));
    return true;
}

bool MoveOver(const std::u16string& from, const std::u16string& to) {
    return ::MoveFileExW(Wide(from), Wide(to),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::u16string& path) { return ::DeleteFileW(Wide(path)) != 0; }

std::u16string ParentDirectory(const std::u16string& path) {
    const auto separator = path.find_last_of(u"\\/");
    if (separator == std::u16string::npos) return {};
    // Keep the separator of a drive root ("C:\") so the directory stays the root.
    if (separator == 2 && path[1] == u':') return path.substr(0, 3);
    if (separator == 0) return path.substr(0, 1);
    return path.substr(0, separator);
}

}  // namespace tvx::platform
