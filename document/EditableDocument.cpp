#include "document/EditableDocument.h"

#include <algorithm>

namespace tvx {

bool EditableDocument::IsOpen() const { return file_.IsOpen(); }

std::uint64_t EditableDocument::GetSize() const { return GetLogicalSize(); }

std::u16string EditableDocument::GetPath() const { return file_.GetPath(); }

bool EditableDocument::IsModified() const {
    return !runs_.empty() || !deleted_.empty() || !overwritten_.empty();
}

std::uint64_t EditableDocument::GetLogicalSize() const {
    std::uint64_t size = file_.GetSize() - deleted_.size();
    for (const auto& [key, run] : runs_) size += run.size();
    return size;
}

void EditableDocument::Close() noexcept {
    runs_.clear();
    deleted_.clear();
    overwritten_.clear();
    lastError_.clear();
    file_.Close();
}

std::uint64_t EditableDocument::CountDeleted(std::uint64_t a, std::uint64_t b) const {
    std::uint64_t count = 0;
    for (auto it = deleted_.lower_bound(a); it != deleted_.end() && *it < b; ++it) ++count;
    return count;
}

std::uint64_t EditableDocument::NthKeptOffset(std::uint64_t a, std::uint64_t b, std::uint64_t n) const {
    std::uint64_t c = a + n;
    if (deleted_.empty() || CountDeleted(a, b) == 0) return c;
    // c only grows and never passes the answer: each step skips the deletions seen so far.
    while (c < b) {
        const std::uint64_t m = CountDeleted(a, c + 1);
        if (a + n + m == c && !deleted_.contains(c)) return c;
        c = a + n + m;
    }
    return b;
}

EditableDocument::ByteLocation EditableDocument::Locate(std::uint64_t p) const {
    ByteLocation location;
    if (p >= GetLogicalSize()) return location;

    std::uint64_t prev = 0;  // file offset where the current stretch of file bytes begins
    std::uint64_t base = 0;  // logical offset of that stretch's first kept byte
    for (const auto& [key, run] : runs_) {
        const std::uint64_t keptEnd = base + (key - prev) - CountDeleted(prev, key);
        if (p < keptEnd) {
            location.valid = true;
            location.fileOffset = NthKeptOffset(prev, key, p - base);
            return location;
        }
        if (p < keptEnd + run.size()) {
            location.valid = true;
            location.inRun = true;
            location.fileOffset = key;
            location.index = p - keptEnd;
            return location;
        }
        base = keptEnd + run.size();
        prev = key;
    }
    const std::uint64_t fileSize = file_.GetSize();
    if (p >= base + (fileSize - prev) - CountDeleted(prev, fileSize)) return location;
    location.valid = true;
    location.fileOffset = NthKeptOffset(prev, fileSize, p - base);
    return location;
}

std::optional<std::uint8_t> EditableDocument::ReadFileByte(std::uint64_t offset) const {
    const ByteBlock block = file_.ReadBytes(offset, 1);
    if (block.bytes.empty()) return std::nullopt;
    return block.bytes[0];
}

std::optional<std::uint8_t> EditableDocument::ReadByteAt(std::uint64_t p) const {
    const ByteLocation location = Locate(p);
    if (!location.valid) return std::nullopt;
    if (location.inRun) {
        const auto run = runs_.find(location.fileOffset);
        if (run == runs_.end() || location.index >= run->second.size()) return std::nullopt;
        return run->second[location.index];
    }
    const auto fileByte = ReadFileByte(location.fileOffset);
    if (!fileByte) return std::nullopt;
    const auto overwrite = overwritten_.find(location.fileOffset);
    return overwrite != overwritten_.end() ? overwrite->second : *fileByte;
}

ByteBlock EditableDocument::ReadBytes(std::uint64_t offset, std::uint64_t count) const {
    const std::uint64_t logicalSize = GetLogicalSize();
    if (offset >= logicalSize || count == 0) return ByteBlock{offset, {}};
    const std::uint64_t n = std::min(count, logicalSize - offset);

    if (runs_.empty() && deleted_.empty()) {
        // Logical and file offsets coincide: one file read, then the overwrites on top.
        ByteBlock block = file_.ReadBytes(offset, n);
        if (!block.bytes.empty()) {
            const std::uint64_t end = offset + block.bytes.size();
            for (const auto& [at, value] : overwritten_)
                if (at >= offset && at < end) block.bytes[static_cast<std::size_t>(at - offset)] = value;
        }
        return block;
    }

    ByteBlock block{offset, {}};
    block.bytes.reserve(static_cast<std::size_t>(n));
    for (std::uint64_t i = 0; i < n; ++i) {
        const auto value = ReadByteAt(offset + i);
        if (!value) break;
        block.bytes.push_back(*value);
    }
    return block;
}

bool EditableDocument::OverwriteByte(std::uint64_t p, std::uint8_t value) {
    if (!IsOpen() || p >= GetLogicalSize()) return false;
    const ByteLocation location = Locate(p);
    if (!location.valid) return false;
    if (location.inRun) {
        const auto run = runs_.find(location.fileOffset);
        if (run == runs_.end() || location.index >= run->second.size()) return false;
        run->second[location.index] = value;
        return true;
    }
    const auto fileByte = ReadFileByte(location.fileOffset);
    if (!fileByte) return false;
    if (value != *fileByte)
        overwritten_[location.fileOffset] = value;
    else
        overwritten_.erase(location.fileOffset);
    return true;
}

bool EditableDocument::InsertByte(std::uint64_t p, std::uint8_t value) {
    if (!IsOpen()) return false;
    const std::uint64_t logicalSize = GetLogicalSize();
    if (p > logicalSize) return false;
    if (p == logicalSize) {
        runs_[file_.GetSize()].push_back(value);
        return true;
    }
    const ByteLocation location = Locate(p);
    if (!location.valid) return false;
    Run& run = runs_[location.fileOffset];
    // A file byte gets the new byte at the end of the run before it; a run byte gets it in place.
    const std::size_t index = location.inRun ? static_cast<std::size_t>(std::min<std::uint64_t>(location.index, run.size()))
                                             : run.size();
    run.insert(run.begin() + static_cast<std::ptrdiff_t>(index), value);
    return true;
}

bool EditableDocument::DeleteByte(std::uint64_t p) {
    if (!IsOpen() || p >= GetLogicalSize()) return false;
    const ByteLocation location = Locate(p);
    if (!location.valid) return false;
    if (!location.inRun) {
        deleted_.insert(location.fileOffset);
        overwritten_.erase(location.fileOffset);
        return true;
    }
    const auto run = runs_.find(location.fileOffset);
    if (run == runs_.end() || location.index >= run->second.size()) return false;
    run->second.erase(run->second.begin() + static_cast<std::ptrdiff_t>(location.index));
    if (run->second.empty()) runs_.erase(run);
    return true;
}

}  // namespace tvx
