#pragma once
// Scratch files for tests: a fresh directory per test, removed with everything in it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// Names of the entries in a folder, sorted; none for a missing folder.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a file in this directory, as the UTF-16 string the core takes.
    std::u16string File(const std::string& name) const;
    // Names of the entries in the directory, sorted.
    std::vector<std::string> List() const { return ListFolder(path_); }

private:
    std::filesystem::path path_;
};

void WriteFileBytes(const std::u16string& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::u16string& path);
bool FileExists(const std::u16string& path);

// Makes a file read-only (the read-only attribute on Windows, no write bits elsewhere).
void MakeReadOnly(const std::filesystem::path& path);
// Whether writing to a read-only file is refused here. Wine running as root does not refuse it.
bool ReadOnlyFilesAreEnforced();

}  // namespace tvx::test
