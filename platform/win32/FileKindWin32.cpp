#include "platform/FileKind.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>

namespace tvx::platform {
namespace {

// CON, PRN, AUX, NUL, COM1..9 and LPT1..9 name devices in every folder, with any extension.
bool IsDeviceName(std::u16string_view path) {
    const auto slash = path.find_last_of(u"\\/:");
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find(u'.'));
    while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
    std::u16string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char16_t c) { return static_cast<char16_t>(std::towupper(c)); });
    static constexpr std::array<std::u16string_view, 4> kPlain = {u"CON", u"PRN", u"AUX", u"NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
    return upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) && upper[3] >= u'1' &&
           upper[3] <= u'9';
}

}  // namespace

FileKind QueryFileKind(const std::u16string& path) {
    const std::wstring wide(path.begin(), path.end());
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Unavailable;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Directory;
    if (path.starts_with(u"\\\\.\\") || IsDeviceName(path)) return FileKind::Other;
    return FileKind::Regular;
}

}  // namespace tvx::platform
