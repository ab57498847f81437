#include "inspector/win32/ClipboardText.h"

#include <cstring>

namespace tvx {

bool CopyTextToClipboard(HWND owner, std::u16string_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(data, text.data(), bytes - sizeof(char16_t));
    static_cast<char16_t*>(data)[text.size()] = u'\0';
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    // Once SetClipboardData succeeds the block belongs to the system.
    const bool handedOver = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!handedOver) GlobalFree(block);
    CloseClipboard();
    return handedOver;
}

}  // namespace tvx
