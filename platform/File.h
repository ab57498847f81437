#pragma once
// Files on disk: the one place where the document meets the operating system.
// Each call mirrors one Win32 call; the posix backend gives the same observable results.

#include <cstdint>
#include <span>
#include <string>

namespace tvx::platform {

// An OS error code: GetLastError() on Windows, errno elsewhere. 0 means "no error".
using ErrorCode = std::uint32_t;

// The error code of the last failed call of this module on this thread.
[[nodiscard]] ErrorCode LastError() noexcept;
// Resets LastError() to 0, so that a later short read can tell "no error" from a stale one.
void ClearLastError() noexcept;

// The system's message for an error code, trailing line breaks and spaces removed;
// empty when the system has no text for it.
[[nodiscard]] std::u16string SystemErrorText(ErrorCode code);

// One destination of a scattered read.
struct ReadPart {
    void* buffer = nullptr;
    std::uint32_t length = 0;
};

// Owns one open file. Move-only; closes the file on destruction.
class FileHandle {
public:
    FileHandle() noexcept = default;
    explicit FileHandle(std::intptr_t native) noexcept : native_(native) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    [[nodiscard]] bool IsOpen() const noexcept { return native_ != kInvalid; }
    // Closes the file (if open) without disturbing LastError().
    void Close() noexcept;

    [[nodiscard]] bool QuerySize(std::uint64_t& size) const noexcept;  // GetFileSizeEx
    [[nodiscard]] bool Seek(std::uint64_t offset) const noexcept;      // SetFilePointerEx, FILE_BEGIN
    // ReadFile: delivers fewer bytes than asked only at the end of the file.
    [[nodiscard]] bool Read(void* buffer, std::uint32_t count, std::uint32_t& read) const noexcept;
    // Reads the file bytes from offset on into the parts in turn (preadv on posix; a seek and a
    // ReadFile per part on Windows). read counts the bytes delivered: fewer than the parts hold
    // only at the end of the file or together with a failure.
    [[nodiscard]] bool ReadScattered(std::uint64_t offset, std::span<const ReadPart> parts,
                                     std::uint64_t& read) const noexcept;
    // WriteFile: written < count only together with a failure.
    [[nodiscard]] bool Write(const void* buffer, std::uint32_t count,
                             std::uint32_t& written) const noexcept;
    [[nodiscard]] bool SetEnd() const noexcept;  // SetEndOfFile at the current position
    // Reserves the disk space of [offset, offset + length), so that writing there cannot run out
    // of it: posix_fallocate (which also fills holes, and may grow the file); on Windows the
    // file grows to the range's end (SetEndOfFile), holes are left as they are.
    [[nodiscard]] bool Reserve(std::uint64_t offset, std::uint64_t length) const noexcept;
    [[nodiscard]] bool Flush() const noexcept;   // FlushFileBuffers

private:
    static constexpr std::intptr_t kInvalid = -1;  // INVALID_HANDLE_VALUE and an invalid fd alike
    std::intptr_t native_ = kInvalid;
};

// CreateFileW(GENERIC_READ, share read | write | delete, OPEN_EXISTING).
[[nodiscard]] FileHandle OpenForReading(const std::u16string& path);
// CreateFileW(GENERIC_WRITE, share read, OPEN_EXISTING).
[[nodiscard]] FileHandle OpenExistingForWriting(const std::u16string& path);
// CreateFileW(GENERIC_WRITE, no sharing, CREATE_ALWAYS).
[[nodiscard]] FileHandle CreateForWriting(const std::u16string& path);

// GetTempFileNameW(directory, prefix, 0): creates an empty, uniquely named file in directory
// and returns its path.
[[nodiscard]] bool CreateUniqueFile(const std::u16string& directory, const std::u16string& prefix,
                                    std::u16string& path);
// MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH).
// (Named apart from the Win32 ReplaceFile macro.)
[[nodiscard]] bool MoveOver(const std::u16string& from, const std::u16string& to);
// DeleteFileW.
bool RemoveFile(const std::u16string& path);

// The directory part of path (without the final separator); empty for a bare file name.
[[nodiscard]] std::u16string ParentDirectory(const std::u16string& path);

}  // namespace tvx::platform
