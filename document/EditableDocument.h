#pragma once
// The edited document: one file on disk with an in-memory edit layer over it.
//
// Edits never touch the file until Save. The document is a sequence of pieces (see Piece.h)
// over the unchanged file and an append-only buffer of added bytes, held in a balanced tree:
// reads copy piece by piece, each edit replaces a few pieces in O(log k), and undo and redo
// replay the pieces an edit replaced. Before the first edit no tree exists: the document is
// the file. Used on the user-interface thread only; nothing is locked.

#include "document/DocumentInterfaces.h"
#include "document/EditHistory.h"
#include "document/FileViewModel.h"
#include "document/PieceTree.h"

namespace tvx {

class EditableDocument final : public IUndoableDocument {
public:
    bool IsOpen() const override;
    std::uint64_t GetSize() const override;  // the logical size
    std::u16string GetPath() const override;
    ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const override;

    bool OverwriteByte(std::uint64_t offset, std::uint8_t value) override;
    bool InsertByte(std::uint64_t offset, std::uint8_t value) override;
    bool DeleteByte(std::uint64_t offset) override;
    // Modified while the pieces differ from the file: an added byte, a file byte deleted, or a
    // file byte holding another value (overwriting it with its own value is no change).
    bool IsModified() const override;
    std::uint64_t GetLogicalSize() const override;

    bool InsertBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    bool OverwriteBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    bool DeleteBytes(std::uint64_t offset, std::uint64_t count) override;
    // One repeated piece over the pattern's bytes: memory for the pattern only. A fill counts
    // as a change even where a byte keeps its value.
    bool InsertRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) override;
    bool OverwriteRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) override;
    // One tree replacement over the span from the first range to the last: O(k log k) for k
    // ranges and the pieces between them, one read of the file per range.
    bool ReplaceEach(std::span<const std::uint64_t> offsets, std::uint64_t length,
                     std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> held) override;
    void BeginEditGroup() override;
    void EndEditGroup() override;
    bool CanUndo() const override;
    bool CanRedo() const override;
    std::optional<EditRange> Undo() override;
    std::optional<EditRange> Redo() override;

    // Whether a byte of [offset, offset + length) is overwritten or inserted: O(log k) plus
    // the pieces within the range.
    [[nodiscard]] bool IsChangedRange(std::uint64_t offset, std::uint64_t length) const;

    // The file under the edits. To open a file, Close() the document, then File().Open(path).
    FileViewModel& File() { return file_; }

    // Drops every edit, the history and the last error and closes the file.
    void Close() noexcept;

    // Asked between the blocks of a save; true stops it, with the file as it was.
    using CancelCheck = std::function<bool()>;

    // Writes the edits back to the file under the same path: in place when every byte keeps
    // its position, else through a temporary file in the file's folder that replaces it,
    // keeping its metadata (a symbolic link is saved into its target). On success the edits
    // and the history are gone and the file is reopened (a document with nothing to write
    // keeps its history). On failure LastErrorText() tells why, the edits remain and the file
    // on disk is unchanged: the space an in-place write needs is reserved before any byte is
    // written, and what it appended is cut off again (where overwritten bytes were written
    // before the failure, the text names them). A file changed on disk since it was opened
    // is not written at all. The callbacks may pump messages: the caller must prevent other
    // edits meanwhile.
    [[nodiscard]] bool Save(const ProgressCallback& progress, const CancelCheck& cancel = {});
    // Writes the whole document to path through a temporary file in path's folder; then the
    // document is that file, unmodified, with an empty history. path naming the document's
    // own file is Save. On failure the document and both files are as they were.
    [[nodiscard]] bool SaveAs(const std::u16string& path, const ProgressCallback& progress,
                              const CancelCheck& cancel = {});
    // Whether the file on disk is no longer the one opened (see FileViewModel).
    [[nodiscard]] bool ChangedOnDisk() const { return file_.ChangedOnDisk(); }
    const std::u16string& LastErrorText() const { return lastError_; }
    // True when Save patches the file in place: only overwrites, bytes appended at the end and
    // bytes deleted at the end. Any other insertion or deletion needs a temporary file.
    [[nodiscard]] bool SavesInPlace() const;

private:
    void EnsurePieces();
    // Whether bytes inserted before the byte at offset shift the file's bytes after them.
    [[nodiscard]] bool InsertionAnchored(std::uint64_t offset) const;
    // Appends the pieces of the bytes at added_[base, ...) written over old: an added byte
    // stays added, a file byte is a File piece where the value is its own, else an Overwrite.
    // held, when not null, is what old holds: for a File piece, its file bytes.
    [[nodiscard]] bool AppendOverwrite(const Piece& old, std::uint64_t base, std::span<const std::uint8_t> bytes,
                                       std::vector<Piece>& out, const std::uint8_t* held = nullptr);
    // Replaces [offset, offset + length) by pieces and records the change as an undo step.
    void ReplacePieces(std::uint64_t offset, std::uint64_t length, std::vector<Piece> pieces);
    std::optional<EditRange> Replay(const EditStep* step, bool forward);
    // Copies count bytes of the document from offset; fewer when the file cannot serve them.
    std::uint64_t CopyBytes(std::uint64_t offset, std::uint64_t count, std::uint8_t* out) const;

    bool SaveInPlace(const std::u16string& path, const ProgressCallback& progress, const CancelCheck& cancel);
    // Writes the document to a new temporary file in target's folder and replaces target by
    // it; the document's file is closed meanwhile where the system needs that.
    bool SaveViaTempFile(const std::u16string& target, const ProgressCallback& progress, const CancelCheck& cancel);
    bool CopyDocument(const platform::FileHandle& out, const ProgressCallback& progress, const CancelCheck& cancel);
    bool FinishSave(const std::u16string& path);
    void DropEdits() noexcept;
    void SetErrorFromSystem();

    FileViewModel file_;
    bool edited_ = false;  // pieces_ describes the document; else the document is the file
    PieceTree pieces_;
    std::vector<std::uint8_t> added_;
    mutable std::vector<std::uint8_t> scratch_;  // where reads put deleted bytes, see CopyBytes
    EditHistory history_;
    std::u16string lastError_;
};

}  // namespace tvx
