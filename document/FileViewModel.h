#pragma once
// Read-only random access to one file on disk, with no cache: every read is one positioned read.

#include "document/DocumentInterfaces.h"
#include "platform/File.h"
#include "platform/FileMetadata.h"

namespace tvx {

class FileViewModel final : public IReadOnlyDocument {
public:
    bool IsOpen() const override;
    std::uint64_t GetSize() const override;  // the size when the file was opened
    std::u16string GetPath() const override;
    ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const override;
    // Reads up to count bytes from offset into out, in as many reads as it takes; returns how
    // many arrived (fewer at the end of the file or when a read fails).
    std::uint64_t ReadInto(std::uint64_t offset, std::uint64_t count, std::uint8_t* out) const;
    // Reads the file bytes from offset on into the parts in turn; returns how many arrived.
    std::uint64_t ReadScattered(std::uint64_t offset, std::span<const platform::ReadPart> parts) const;

    // Opens path for reading, sharing it with writers and deleters, and replaces whatever was
    // open. A failed open leaves the object closed, even if another file was open before.
    [[nodiscard]] bool Open(const std::u16string& path);
    void Close() noexcept;

    // Whether the file at the path is no longer the one opened, as it was then: another file
    // (replaced by a rename), another size or last-write time, or none at all.
    [[nodiscard]] bool ChangedOnDisk() const;
    // Takes the file as it is now as the one opened, after this program's own writes to it.
    void RememberIdentity();

private:
    platform::FileHandle handle_;
    platform::FileIdentity identity_;
    bool identityKnown_ = false;
    std::uint64_t size_ = 0;
    std::u16string path_;
};

}  // namespace tvx
