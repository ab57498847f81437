// POSIX stand-ins for the Win32 file calls.

#include "platform/File.h"
#include "platform/Utf8.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <vector>

namespace tvx::platform {
namespace {

std::string NativePath(const std::u16string& path) { return EncodeUtf8Bytes(path); }

int Fd(std::intptr_t native) { return static_cast<int>(native); }

// A file without any write permission bit stands for one with the read-only attribute, which
// Windows refuses to write or replace whoever asks (root included).
bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

FileHandle OpenWith(const std::u16string& path, int flags) {
    if ((flags & O_ACCMODE) != O_RDONLY && IsReadOnlyFile(NativePath(path))) {
        errno = EACCES;
        return {};
    }
    const int fd = ::open(NativePath(path).c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return {};
    // CreateFileW refuses directories; open(2) accepts them for reading.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        errno = error;
        return {};
    }
    return FileHandle(fd);
}

}  // namespace

ErrorCode LastError() noexcept { return static_cast<ErrorCode>(errno); }

void ClearLastError() noexcept { errno = 0; }

std::u16string SystemErrorText(ErrorCode code) {
    char buffer[256] = {};
    const char* text = ::strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    std::string message = text ? text : "";
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return DecodeUtf8(message);
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
    const int saved = errno;
    ::close(Fd(native_));
    errno = saved;
    native_ = kInvalid;
}

bool FileHandle::QuerySize(std::uint64_t& size) const noexcept {
    struct stat info {};
    if (::fstat(Fd(native_), &info) != 0) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool FileHandle::Seek(std::uint64_t offset) const noexcept {
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
        errno = EINVAL;
        return false;
    }
    return ::lseek(Fd(native_), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool FileHandle::Read(void* buffer, std::uint32_t count, std::uint32_t& read) const noexcept {
    read = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (read < count) {
        const ssize_t n = ::read(Fd(native_), bytes + read, count - read);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;  // end of file
        read += static_cast<std::uint32_t>(n);
    }
    return true;
}

bool FileHandle::ReadScattered(std::uint64_t offset, std::span<const ReadPart> parts,
                               std::uint64_t& read) const noexcept {
    read = 0;
    constexpr std::size_t kBatch = 256;
    std::size_t first = 0;      // the first part not yet filled
    std::uint32_t filled = 0;   // bytes of it already filled
    while (first < parts.size()) {
        iovec batch[kBatch];
        std::size_t count = 0;
        for (std::size_t i = first; i < parts.size() && count < kBatch; ++i, ++count) {
            const std::uint32_t skip = i == first ? filled : 0;
            batch[count].iov_base = static_cast<unsigned char*>(parts[i].buffer) + skip;
            batch[count].iov_len = parts[i].length - skip;
        }
        if (offset + read > static_cast<std::uint64_t>(INT64_MAX)) {
            errno = EINVAL;
            return false;
        }
        const ssize_t n = ::preadv(Fd(native_), batch, static_cast<int>(count), static_cast<off_t>(offset + read));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;  // end of file
        read += static_cast<std::uint64_t>(n);
        for (auto left = static_cast<std::uint64_t>(n); left > 0 && first < parts.size();) {
            const std::uint32_t room = parts[first].length - filled;
            if (left < room) {
                filled += static_cast<std::uint32_t>(left);
                break;
            }
            left -= room;
            ++first;
            filled = 0;
        }
        while (first < parts.size() && parts[first].length == 0) ++first;
    }
    return true;
}

bool FileHandle::Write(const void* buffer, std::uint32_t count, std::uint32_t& written) const noexcept {
    written = 0;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (written < count) {
        const ssize_t n = ::write(Fd(native_), bytes + written, count - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::uint32_t>(n);
    }
    return true;
}

bool FileHandle::SetEnd() const noexcept {
    const off_t position = ::lseek(Fd(native_), 0, SEEK_CUR);
    return position >= 0 && ::ftruncate(Fd(native_), position) == 0;
}

bool FileHandle::Reserve(std::uint64_t offset, std::uint64_t length) const noexcept {
    if (length == 0) return true;
    const int error = ::posix_fallocate(Fd(native_), static_cast<off_t>(offset), static_cast<off_t>(length));
    // File systems without allocation (EOPNOTSUPP through glibc's fallback is not reported)
    // leave nothing to reserve.
    if (error == 0 || error == EOPNOTSUPP) return true;
    errno = error;
    return false;
}

bool FileHandle::Flush() const noexcept { return ::fsync(Fd(native_)) == 0; }

FileHandle OpenForReading(const std::u16string& path) { return OpenWith(path, O_RDONLY); }

FileHandle OpenExistingForWriting(const std::u16string& path) { return OpenWith(path, O_WRONLY); }

FileHandle CreateForWriting(const std::u16string& path) {
    return OpenWith(path, O_WRONLY | O_CREAT | O_TRUNC);
}

bool CreateUniqueFile(const std::u16string& directory, const std::u16string& prefix, std::u16string& path) {
    // Like GetTempFileNameW: PREFIXhhhh.tmp, trying successive numbers until one is free.
    static unsigned counter = static_cast<unsigned>(::getpid());
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%X.tmp", (++counter & 0xFFFFu) | 1u);
        std::u16string candidate = directory;
        if (!candidate.empty() && candidate.back() != u'/') candidate += u'/';
        candidate += prefix;
        for (const char* c = suffix; *c; ++c) candidate += static_cast<char16_t>(*c);
        const int fd = ::open(NativePath(candidate).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            path = candidate;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
}

namespace {

void SyncDirectoryOf(const std::u16string& path) {
    const std::u16string parent = ParentDirectory(path);
    const int dir = ::open(parent.empty() ? "." : NativePath(parent).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool CopyContents(const FileHandle& from, const FileHandle& to) {
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        std::uint32_t read = 0, written = 0;
        if (!from.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), read)) return false;
        if (read == 0) return to.Flush();
        if (!to.Write(buffer.data(), read, written)) return false;
    }
}

// MOVEFILE_COPY_ALLOWED across file systems: copy beside the target, then rename over it, so
// the target is never half-written.
bool MoveAcrossFileSystems(const std::u16string& from, const std::u16string& to) {
    std::u16string directory = ParentDirectory(to);
    if (directory.empty()) directory = u".";
    std::u16string staging;
    if (!CreateUniqueFile(directory, u"TVR", staging)) return false;
    bool copied = false;
    {
        const FileHandle source = OpenForReading(from);
        const FileHandle target = source.IsOpen() ? CreateForWriting(staging) : FileHandle();
        copied = target.IsOpen() && CopyContents(source, target);
    }
    if (!copied || ::rename(NativePath(staging).c_str(), NativePath(to).c_str()) != 0) {
        const int error = errno;
        ::unlink(NativePath(staging).c_str());
        errno = error;
        return false;
    }
    ::unlink(NativePath(from).c_str());
    return true;
}

}  // namespace

bool MoveOver(const std::u16string& from, const std::u16string& to) {
    if (IsReadOnlyFile(NativePath(to))) {
        errno = EACCES;
        return false;
    }
    if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) {
        if (errno != EXDEV || !MoveAcrossFileSystems(from, to)) return false;
    }
    SyncDirectoryOf(to);  // write-through: make the rename itself durable
    return true;
}

bool RemoveFile(const std::u16string& path) { return ::unlink(NativePath(path).c_str()) == 0; }

std::u16string ParentDirectory(const std::u16string& path) {
    const auto slash = path.find_last_of(u'/');
    if (slash == std::u16string::npos) return {};
    if (slash == 0) return u"/";
    return path.substr(0, slash);
}

}  // namespace tvx::platform
