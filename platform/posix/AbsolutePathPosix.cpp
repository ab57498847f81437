#include "platform/AbsolutePath.h"

#include "platform/Utf8.h"

#include <cerrno>
#include <climits>
#include <unistd.h>
#include <vector>

namespace tvx::platform {
namespace {

std::optional<std::u16string> CurrentFolder() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    return DecodeUtf8Bytes(buffer.data());
}

}  // namespace

std::optional<std::u16string> AbsolutePath(const std::u16string& path) {
    if (path.empty()) return std::nullopt;
    std::u16string joined = path;
    if (path.front() != u'/') {
        const std::optional<std::u16string> folder = CurrentFolder();
        if (!folder) return std::nullopt;
        joined = *folder + u"/" + path;
    }
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        std::size_t end = joined.find(u'/', start);
        if (end == std::u16string::npos) end = joined.size();
        const std::u16string part = joined.substr(start, end - start);
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::u16string result;
    for (const std::u16string& part : parts) result += u"/" + part;
    return result.empty() ? u"/" : result;
}

}  // namespace tvx::platform
