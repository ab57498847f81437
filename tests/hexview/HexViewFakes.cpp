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

bool MemoryDocument::Edit(std::uint64_t offset, std::uint64_t removed, std::span<const std::uint8_t> bytes,
                          bool insert) {
    const std::uint64_t size = bytes_.size();
    if (failEdits_ || !open_ || offset > size || size - offset < (insert ? 0 : removed)) return false;
    const std::vector<std::uint8_t> before = bytes_;
    const auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    if (insert) {
        bytes_.insert(at, bytes.begin(), bytes.end());
    } else if (bytes.empty()) {
        bytes_.erase(at, at + static_cast<std::ptrdiff_t>(removed));
    } else {
        std::copy(bytes.begin(), bytes.end(), at);
    }
    modified_ = true;
    redo_.clear();
    const EditRange undone{offset, insert ? 0 : removed};
    const EditRange redone{offset, bytes.size()};
    if (depth_ > 0 && grouped_) {
        undo_.back().after = bytes_;
        undo_.back().redone = redone;
    } else {
        undo_.push_back({before, bytes_, undone, redone});
        grouped_ = depth_ > 0;
    }
    return true;
}

void MemoryDocument::EndEditGroup() {
    if (depth_ == 0) return;
    ++groupsEnded_;
    if (--depth_ == 0) grouped_ = false;
}

std::optional<EditRange> MemoryDocument::Undo() {
    depth_ = 0;
    grouped_ = false;
    if (undo_.empty()) return std::nullopt;
    redo_.push_back(undo_.back());
    undo_.pop_back();
    bytes_ = redo_.back().before;
    return redo_.back().undone;
}

std::optional<EditRange> MemoryDocument::Redo() {
    depth_ = 0;
    grouped_ = false;
    if (redo_.empty()) return std::nullopt;
    undo_.push_back(redo_.back());
    redo_.pop_back();
    bytes_ = undo_.back().after;
    return undo_.back().redone;
}

bool MemoryDocument::OverwriteByte(std::uint64_t offset, std::uint8_t value) {
    return offset < bytes_.size() && Edit(offset, 1, std::span(&value, 1), false);
}

bool MemoryDocument::InsertByte(std::uint64_t offset, std::uint8_t value) {
    return Edit(offset, 0, std::span(&value, 1), true);
}

bool MemoryDocument::DeleteByte(std::uint64_t offset) { return Edit(offset, 1, {}, false); }

bool MemoryDocument::InsertBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    return Edit(offset, 0, bytes, true);
}

bool MemoryDocument::OverwriteBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && Edit(offset, bytes.size(), bytes, false);
}

// The pattern written out in full: the fake holds small documents only.
static std::vector<std::uint8_t> Repeated(std::uint64_t count, std::span<const std::uint8_t> pattern) {
    std::vector<std::uint8_t> bytes;
    for (std::uint64_t i = 0; i < count && !pattern.empty(); ++i) bytes.push_back(pattern[i % pattern.size()]);
    return bytes;
}

bool MemoryDocument::InsertRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) {
    return !pattern.empty() && InsertBytes(offset, Repeated(count, pattern));
}

bool MemoryDocument::OverwriteRepeated(std::uint64_t offset, std::uint64_t count,
                                       std::span<const std::uint8_t> pattern) {
    return !pattern.empty() && OverwriteBytes(offset, Repeated(count, pattern));
}

bool MemoryDocument::DeleteBytes(std::uint64_t offset, std::uint64_t count) {
    return count != 0 && Edit(offset, count, {}, false);
}

bool MemoryDocument::ReplaceEach(std::span<const std::uint64_t> offsets, std::uint64_t length,
                                 std::span<const std::uint8_t> bytes, std::span<const std::uint8_t>) {
    if (failEdits_ || !open_ || !ValidReplaceRanges(offsets, length, bytes_.size())) return false;
    BeginEditGroup();
    for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
        if (length > 0) (void)Edit(*offset, length, {}, false);
        if (!bytes.empty()) (void)Edit(*offset, 0, bytes, true);
    }
    EndEditGroup();
    return true;
}

}  // namespace tvx::test
