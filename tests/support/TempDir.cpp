#include "tests/support/TempDir.h"

#include "platform/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

namespace tvx::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    // Unique among the test programs that run at once, and among the folders of one program.
    static std::atomic<unsigned> counter{0};
    const std::string name = std::to_string(std::random_device()()) + "-" + std::to_string(counter++);
    path_ = fs::temp_directory_path() / ("tvx-test-" + name);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    // Read-only entries cannot be removed on Windows.
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::u16string TempDir::File(const std::string& name) const { return (path_ / name).u16string(); }

std::vector<std::string> ListFolder(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFileBytes(const std::u16string& path, const Bytes& bytes) {
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write test file";
}

Bytes ReadFileBytes(const std::u16string& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::u16string& path) {
    std::error_code ignored;
    return fs::exists(fs::path(path), ignored);
}

void MakeReadOnly(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

bool ReadOnlyFilesAreEnforced() {
    TempDir dir;
    const auto probe = dir.File("probe");
    WriteFileBytes(probe, {0});
    MakeReadOnly(probe);
    return !platform::OpenExistingForWriting(probe).IsOpen();
}

}  // namespace tvx::test
