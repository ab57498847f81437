#pragma once
// A read-only document over bytes in memory that counts its reads. It can be closed, or claim
// a larger size than it holds (reads stop at the bytes held).

#include "document/DocumentInterfaces.h"

#include <algorithm>
#include <optional>

namespace tvx::test {

class MemoryDocument final : public IReadOnlyDocument {
public:
    explicit MemoryDocument(std::vector<std::uint8_t> bytes = {}) : bytes_(std::move(bytes)) {}

    bool IsOpen() const override { return open; }
    std::uint64_t GetSize() const override { return claimedSize.value_or(bytes_.size()); }
    std::u16string GetPath() const override { return u"memory"; }
    ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const override {
        ++reads_;
        ByteBlock block{offset, {}};
        if (!open || offset >= bytes_.size()) return block;
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        block.bytes.assign(begin, begin + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(count, bytes_.size() - offset)));
        return block;
    }

    int Reads() const { return reads_; }

    bool open = true;
    std::optional<std::uint64_t> claimedSize;

private:
    std::vector<std::uint8_t> bytes_;
    mutable int reads_ = 0;
};

}  // namespace tvx::test
