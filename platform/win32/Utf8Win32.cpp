// UTF-8 conversion through MultiByteToWideChar / WideCharToMultiByte (CP_UTF8).

#include "platform/Utf8.h"

#include <windows.h>

#include <climits>

namespace tvx::platform {
namespace {

bool Decode(std::string_view utf8, DWORD flags, std::u16string& out) {
    out.clear();
    if (utf8.empty()) return true;
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return false;
    const int inLength = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), inLength, nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), inLength, wide.data(), length) != length) return false;
    out.assign(wide.begin(), wide.end());
    return true;
}

}  // namespace

bool DecodeUtf8Strict(std::string_view utf8, std::u16string& out) {
    if (Decode(utf8, MB_ERR_INVALID_CHARS, out)) return true;
    out.clear();
    return false;
}

std::u16string DecodeUtf8(std::string_view utf8) {
    std::u16string out;
    if (!Decode(utf8, 0, out)) out.clear();
    return out;
}

std::string EncodeUtf8(std::u16string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const std::wstring wide(text.begin(), text.end());
    const int inLength = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, out.data(), length, nullptr, nullptr) != length)
        return {};
    return out;
}

std::u16string DecodeUtf8Bytes(std::string_view bytes) { return DecodeUtf8(bytes); }

std::string EncodeUtf8Bytes(std::u16string_view text) { return EncodeUtf8(text); }

}  // namespace tvx::platform
