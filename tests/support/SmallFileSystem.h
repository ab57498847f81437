#pragma once
// A tmpfs of a few kilobytes over a folder, mounted in a child process's private mount
// namespace (as root, or through a user namespace) and reached through /proc/PID/root, so the
// test can fill a disk without touching the machine's mounts.

#include <filesystem>
#include <string>

namespace tvx::test {

class SmallFileSystem {
public:
    SmallFileSystem(const std::filesystem::path& folder, std::size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // Why there is no file system (empty when it is mounted).
    [[nodiscard]] const std::string& Unavailable() const { return unavailable_; }
    // The folder with the file system mounted on it.
    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

private:
    int child_ = -1;  // killing it ends the mount
    std::filesystem::path path_;
    std::string unavailable_;
};

// Writes zeros to a new file in folder until the file system refuses more.
void FillFileSystem(const std::filesystem::path& folder);

}  // namespace tvx::test
