#pragma once
// The edited document: one file on disk with an in-memory edit layer over it.
//
// Edits never touch the file until Save. They live in three containers: insertion runs (bytes
// standing before a file byte), deleted file offsets and overwritten file bytes. Every read
// merges the file with them. There is no history: only the present difference from the file.
// Used on the user-interface thread only; nothing is locked.

#include "document/DocumentInterfaces.h"
#include "document/FileViewModel.h"

#include <map>
#include <optional>
#include <set>
#include <unordered_map>

namespace tvx {

class EditableDocument final : public IEditableDocument {
public:
    bool IsOpen() const override;
    std::uint64_t GetSize() const override;  // the logical size
    std::u16string GetPath() const override;
    ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const override;

    bool OverwriteByte(std::uint64_t offset, std::uint8_t value) override;
    bool InsertByte(std::uint64_t offset, std::uint8_t value) override;
    bool DeleteByte(std::uint64_t offset) override;
    bool IsModified() const override;
    std::uint64_t GetLogicalSize() const override;

    // The file under the edits. To open a file, Close() the document, then File().Open(path).
    FileViewModel& File() { return file_; }

    // Drops every edit and the last error and closes the file.
    void Close() noexcept;

    // Writes the edits back to the file under the same path: in place when every byte keeps
    // its position, else through a temporary file that replaces it. On success the edits are
    // gone and the file is reopened. On failure LastErrorText() tells why, the edits remain
    // and the file on disk is unchanged (an in-place write that fails part-way may have
    // written some overwritten bytes; the edits still describe the whole change). The
    // callback may pump messages: the caller must prevent other edits meanwhile.
    [[nodiscard]] bool Save(const ProgressCallback& progress);
    const std::u16string& LastErrorText() const { return lastError_; }
    // True when Save patches the file in place: only overwrites, bytes appended at the end and
    // bytes deleted at the end. Any other insertion or deletion needs a temporary file.
    [[nodiscard]] bool SavesInPlace() const;

private:
    struct ByteLocation {
        bool valid = false;
        bool inRun = false;
        std::uint64_t fileOffset = 0;  // the file byte's offset, or the run's key
        std::uint64_t index = 0;       // index within the run
    };
    using Run = std::vector<std::uint8_t>;
    struct Overwrite {
        std::uint64_t offset;
        std::uint8_t value;
    };

    std::uint64_t CountDeleted(std::uint64_t a, std::uint64_t b) const;
    std::uint64_t NthKeptOffset(std::uint64_t a, std::uint64_t b, std::uint64_t n) const;
    ByteLocation Locate(std::uint64_t p) const;
    std::optional<std::uint8_t> ReadFileByte(std::uint64_t offset) const;
    std::optional<std::uint8_t> ReadByteAt(std::uint64_t p) const;

    std::vector<Overwrite> SortedOverwrites() const;
    bool SaveInPlace(const std::u16string& path, const ProgressCallback& progress);
    bool SaveViaTempFile(const std::u16string& path, const ProgressCallback& progress);
    bool CopyMergedDocument(const platform::FileHandle& out, std::uint64_t total, const ProgressCallback& progress);
    bool FinishSave(const std::u16string& path);
    void SetErrorFromSystem();

    FileViewModel file_;
    std::map<std::uint64_t, Run> runs_;
    std::set<std::uint64_t> deleted_;
    std::unordered_map<std::uint64_t, std::uint8_t> overwritten_;
    std::u16string lastError_;
};

}  // namespace tvx
