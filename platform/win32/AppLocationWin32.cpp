#include "platform/AppLocation.h"

#include <windows.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <cwchar>
#include <vector>

// appmodel.h is missing from MinGW's headers; the import library has the function.
extern "C" __declspec(dllimport) LONG WINAPI GetCurrentPackageFamilyName(UINT32* packageFamilyNameLength,
                                                                          PWSTR packageFamilyName);

namespace tvx::platform {
namespace {

std::u16string FromWide(const wchar_t* text, std::size_t length) { return std::u16string(text, text + length); }

bool PackageFamilyName(std::u16string& name) {
    UINT32 length = 0;
    if (::GetCurrentPackageFamilyName(&length, nullptr) != ERROR_INSUFFICIENT_BUFFER || length == 0) return false;
    std::vector<wchar_t> buffer(length, L'\0');
    if (::GetCurrentPackageFamilyName(&length, buffer.data()) != ERROR_SUCCESS) return false;
    name = FromWide(buffer.data(), ::wcsnlen(buffer.data(), buffer.size()));
    return !name.empty();
}

bool LocalAppDataFolder(std::u16string& folder) {
    PWSTR path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
    if (SUCCEEDED(result) && path != nullptr) folder = FromWide(path, std::wcslen(path));
    ::CoTaskMemFree(path);  // also owed on failure; accepts null
    return SUCCEEDED(result) && !folder.empty();
}

void AppendComponent(std::u16string& path, const std::u16string& name) {
    if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
    path += name;
}

}  // namespace

std::u16string ExecutablePath() {
    // Long paths exceed MAX_PATH: grow the buffer until the name fits. A cut name would be
    // another file.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return FromWide(buffer.data(), length);
        if (buffer.size() >= 32768) return {};  // longer than any Windows path
        buffer.resize(buffer.size() * 2);
    }
}

std::u16string ExecutableDirectory() {
    const std::u16string path = ExecutablePath();
    const auto separator = path.find_last_of(u"\\/");
    return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator);
}

bool PackageLocalStateDirectory(std::u16string& directory) {
    std::u16string family, folder;
    if (!PackageFamilyName(family) || !LocalAppDataFolder(folder)) return false;
    AppendComponent(folder, u"Packages");
    AppendComponent(folder, family);
    AppendComponent(folder, u"LocalState");
    directory = folder;
    return true;
}

}  // namespace tvx::platform
