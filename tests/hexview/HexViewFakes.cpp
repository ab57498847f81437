#include "tests/hexview/HexViewFakes.h"

#include <algorithm>

namespace tvx::test {

ByteBlock MemoryDocument::ReadBytes(std::uint64_t offset, std::uint64_t count) const {
    ByteBlock block{offset, {}};
    const std::uint64_t size = GetSize();
    if (!open_ || offset >= size) return block;
    const std::uint64_t n = std::min(count, size - offset);
    for (std::uint64_t i = 0; i < n; ++i) {
        const std::uint64_t p = offset + i;
        block.bytes.push_back(p < bytes_.size() ? bytes_[p] : static_cast<std::uint8_t>(p & 0xFF));
    }
    return block;
}

bool MemoryDocument::OverwriteByte(std::uint64_t offset, std::uint8_t value) {
    if (failEdits_ || !open_ || offset >= bytes_.size()) return false;
    bytes_[offset] = value;
    modified_ = true;
    return true;
}

bool MemoryDocument::InsertByte(std::uint64_t offset, std::uint8_t value) {
    if (failEdits_ || !open_ || offset > bytes_.size()) return false;
    bytes_.insert(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), value);
    modified_ = true;
    return true;
}

bool MemoryDocument::DeleteByte(std::uint64_t offset) {
    if (failEdits_ || !open_ || offset >= bytes_.size()) return false;
    bytes_.erase(bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    deletedOrder_.push_back(offset);
    modified_ = true;
    return true;
}

}  // namespace tvx::test
