#include "platform/AbsolutePath.h"

#include <windows.h>

namespace tvx::platform {

std::optional<std::u16string> AbsolutePath(const std::u16string& path) {
    if (path.empty()) return std::nullopt;
    const std::wstring wide(path.begin(), path.end());
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    while (size != 0) {
        std::wstring full(size, L'\0');
        const DWORD written = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
        if (written == 0) return std::nullopt;
        if (written < size) {  // the folder may have changed between the calls: retry if it grew
            full.resize(written);
            return std::u16string(full.begin(), full.end());
        }
        size = written;
    }
    return std::nullopt;
}

}  // namespace tvx::platform
