#include "platform/AppLocation.h"

#include "platform/Utf8.h"

#include <unistd.h>

#include <string>
#include <vector>

namespace tvx::platform {

std::u16string ExecutableDirectory() {
    // readlink does not say whether it truncated: grow until the answer leaves room.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length <= 0) return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(length));
            const auto slash = path.find_last_of('/');
            if (slash == std::string::npos) return {};
            return DecodeUtf8(slash == 0 ? std::string("/") : path.substr(0, slash));
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool PackageLocalStateDirectory(std::u16string&) { return false; }

}  // namespace tvx::platform
