#pragma once
// The two interfaces through which the rest of the program reads and edits a document.
// All offsets are logical: positions in the edited document, counted from 0.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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

// A logical range: where an undo or redo step left its bytes (length 0 when they are gone).
struct EditRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// Whether ReplaceEach takes these ranges: ascending, not overlapping, within size.
[[nodiscard]] inline bool ValidReplaceRanges(std::span<const std::uint64_t> offsets, std::uint64_t length,
                                             std::uint64_t size) {
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] > size || length > size - offsets[i]) return false;
        if (i > 0 && (offsets[i] < offsets[i - 1] + length || offsets[i] == offsets[i - 1])) return false;
    }
    return true;
}

// Edits of many bytes at once, and the undo history.
class IUndoableDocument : public IEditableDocument {
public:
    // Each edit returns false, and changes nothing, when it cannot be done.
    [[nodiscard]] virtual bool InsertBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    [[nodiscard]] virtual bool OverwriteBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    [[nodiscard]] virtual bool DeleteBytes(std::uint64_t offset, std::uint64_t count) = 0;
    // count bytes of the pattern repeated from its first byte on, cut at the end; false when
    // count > 0 and the pattern is empty.
    [[nodiscard]] virtual bool InsertRepeated(std::uint64_t offset, std::uint64_t count,
                                              std::span<const std::uint8_t> pattern) = 0;
    [[nodiscard]] virtual bool OverwriteRepeated(std::uint64_t offset, std::uint64_t count,
                                                 std::span<const std::uint8_t> pattern) = 0;
    // Replaces the length bytes at each offset by bytes, as one change: offsets ascend and the
    // ranges do not overlap (with length 0, no offset repeats). held is empty, or the length
    // bytes every range holds now (a search's matches), which spares reading them again.
    [[nodiscard]] virtual bool ReplaceEach(std::span<const std::uint64_t> offsets, std::uint64_t length,
                                           std::span<const std::uint8_t> bytes,
                                           std::span<const std::uint8_t> held) = 0;

    // The edits between the outermost Begin and End are one undo step; an edit outside any
    // group is a step of its own. Groups nest. Undo and Redo end every open group first.
    virtual void BeginEditGroup() = 0;
    virtual void EndEditGroup() = 0;
    [[nodiscard]] virtual bool CanUndo() const = 0;
    [[nodiscard]] virtual bool CanRedo() const = 0;
    // The range the step changed, as it stands afterwards; empty when there was no step.
    virtual std::optional<EditRange> Undo() = 0;
    virtual std::optional<EditRange> Redo() = 0;
};

}  // namespace tvx
