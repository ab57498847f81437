#include "document/FileViewModel.h"

#include <algorithm>
#include <limits>

namespace tvx {

bool FileViewModel::IsOpen() const { return handle_.IsOpen(); }

std::uint64_t FileViewModel::GetSize() const { return size_; }

std::u16string FileViewModel::GetPath() const { return path_; }

bool FileViewModel::Open(const std::u16string& path) {
    Close();
    platform::FileHandle handle = platform::OpenForReading(path);
    if (!handle.IsOpen()) return false;
    std::uint64_t size = 0;
    if (!handle.QuerySize(size)) return false;
    handle_ = std::move(handle);
    size_ = size;
    path_ = path;
    identityKnown_ = platform::QueryFileIdentity(path, identity_);
    return true;
}

bool FileViewModel::ChangedOnDisk() const {
    platform::FileIdentity now;
    return IsOpen() && identityKnown_ && (!platform::QueryFileIdentity(path_, now) || now != identity_);
}

void FileViewModel::RememberIdentity() {
    if (IsOpen()) identityKnown_ = platform::QueryFileIdentity(path_, identity_);
}

void FileViewModel::Close() noexcept {
    handle_.Close();
    identityKnown_ = false;
    size_ = 0;
    path_.clear();
}

ByteBlock FileViewModel::ReadBytes(std::uint64_t offset, std::uint64_t count) const {
    ByteBlock block;
    block.offset = offset;
    if (!IsOpen() || count == 0 || offset >= size_) return block;

    const std::uint64_t n = std::min(count, size_ - offset);
    block.bytes.resize(static_cast<std::size_t>(n));
    if (!handle_.Seek(offset)) {
        block.bytes.clear();
        return block;
    }
    // One read takes a 32-bit count, so a larger request comes back shorter.
    const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, std::numeric_limits<std::uint32_t>::max()));
    std::uint32_t read = 0;
    if (!handle_.Read(block.bytes.data(), chunk, read)) {
        block.bytes.clear();
        return block;
    }
    block.bytes.resize(read);
    return block;
}

}  // namespace tvx

namespace tvx {

std::uint64_t FileViewModel::ReadInto(std::uint64_t offset, std::uint64_t count, std::uint8_t* out) const {
    if (!IsOpen() || offset >= size_ || count == 0 || !handle_.Seek(offset)) return 0;
    count = std::min(count, size_ - offset);
    std::uint64_t done = 0;
    while (done < count) {
        const auto chunk =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(count - done, std::numeric_limits<std::uint32_t>::max()));
        std::uint32_t read = 0;
        if (!handle_.Read(out + done, chunk, read)) break;
        done += read;
        if (read < chunk) break;
    }
    return done;
}

std::uint64_t FileViewModel::ReadScattered(std::uint64_t offset, std::span<const platform::ReadPart> parts) const {
    std::uint64_t read = 0;
    if (!IsOpen() || !handle_.ReadScattered(offset, parts, read)) return 0;
    return read;
}

}  // namespace tvx
