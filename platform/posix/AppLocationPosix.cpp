#include "platform/AppLocation.h"

#include "platform/Utf8.h"

#include <unistd.h>

#include <string>
#include <vector>

namespace tvx::platform {

std::u16string ExecutablePath() {
    // readlink does not say whether it truncated: grow until the answer leaves room.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length <= 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return DecodeUtf8(std::string(buffer.data(), static_cast<std::size_t>(length)));
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string ExecutableDirectory() {
    const std::u16string path = ExecutablePath();
    const auto slash = path.find_last_of(u'/');
    if (slash == std::u16string::npos) return {};
    return slash == 0 ? std::u16string(u"/") : path.substr(0, slash);
}

bool PackageLocalStateDirectory(std::u16string&) { return false; }

}  // namespace tvx::platform
