#pragma once
// What a save needs beyond reading and writing: telling whether the file on disk is still the
// one that was opened, following symbolic links to the file itself, and replacing a file by a
// new one that keeps the old one's metadata.

#include <cstdint>
#include <string>

namespace tvx::platform {

// The volume and file index (device and inode) tell one file from another; size and last-write
// time tell a changed file from the one seen before.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // in the system's own unit
    bool operator==(const FileIdentity&) const = default;
};

// GetFileInformationByHandle on the file at path (stat elsewhere); false when there is none.
[[nodiscard]] bool QueryFileIdentity(const std::u16string& path, FileIdentity& identity);

// The file path finally names, symbolic links followed (GetFinalPathNameByHandleW; realpath
// elsewhere); path itself when it names nothing that resolves.
[[nodiscard]] std::u16string ResolveLinks(const std::u16string& path);

// Replaces target by temporary (a new file in target's folder), keeping target's metadata:
// ReplaceFileW keeps its attributes, security descriptor, streams and creation time; elsewhere
// temporary takes target's mode (and owner, where permitted) before the rename. A target that
// does not exist is simply moved onto.
[[nodiscard]] bool ReplaceKeepingMetadata(const std::u16string& temporary, const std::u16string& target);

// Whether a file may be replaced while it is open (on Windows it is closed first).
[[nodiscard]] bool ReplacesOpenFiles() noexcept;

}  // namespace tvx::platform
