#include "platform/FileContents.h"

#include "platform/File.h"

#include <algorithm>
#include <cstdint>

namespace tvx::platform {

bool ReadFileContents(const std::u16string& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    const FileHandle file = OpenForReading(path);
    if (!file.IsOpen()) return false;
    // Read to the end rather than trusting the size: the file may change meanwhile.
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < maxBytes) {
        const std::size_t start = bytes.size();
        const std::size_t want = std::min(kChunk, maxBytes - start);
        bytes.resize(start + want);
        std::uint32_t read = 0;
        if (!file.Read(bytes.data() + start, static_cast<std::uint32_t>(want), read)) {
            bytes.clear();
            return false;
        }
        bytes.resize(start + read);
        if (read == 0) break;
    }
    return true;
}

}  // namespace tvx::platform
