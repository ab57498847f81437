#pragma once
// The two interfaces through which the rest of the program reads and edits a document.
// All offsets are logical: positions in the edited document, counted from 0.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tvx {

// The answer of a read: the offset asked for and the bytes delivered, possibly fewer than
// asked (down to none) when the document ends or the file cannot serve them.
struct ByteBlock {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

// Reports (done, total) during long operations; total is at least 1 and done never exceeds it.
// May be empty, and is then not called.
using ProgressCallback = std::function<void(std::size_t done, std::size_t total)>;

class IReadOnlyDocument {
public:
    virtual ~IReadOnlyDocument() = default;
    [[nodiscard]] virtual bool IsOpen() const = 0;
    [[nodiscard]] virtual std::uint64_t GetSize() const = 0;
    [[nodiscard]] virtual std::u16string GetPath() const = 0;
    // Not thread-safe: every read moves the one file pointer of the document's file.
    [[nodiscard]] virtual ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const = 0;
};

class IEditableDocument : public IReadOnlyDocument {
public:
    // Each edit returns false, and changes nothing, when it cannot be done.
    [[nodiscard]] virtual bool OverwriteByte(std::uint64_t offset, std::uint8_t value) = 0;
    // offset may equal the logical size (appending).
    [[nodiscard]] virtual bool InsertByte(std::uint64_t offset, std::uint8_t value) = 0;
    [[nodiscard]] virtual bool DeleteByte(std::uint64_t offset) = 0;
    [[nodiscard]] virtual bool IsModified() const = 0;
    [[nodiscard]] virtual std::uint64_t GetLogicalSize() const = 0;
};

}  // namespace tvx
