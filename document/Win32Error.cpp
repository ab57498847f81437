#include "document/Win32Error.h"

namespace tvx {

std::u16string FormatWin32Error(platform::ErrorCode code) {
    if (code == 0) return {};
    std::u16string text = platform::SystemErrorText(code);
    if (!text.empty()) return text;
    text = u"Win32 error: ";
    for (char digit : std::to_string(code)) text += static_cast<char16_t>(digit);
    return text;
}

}  // namespace tvx
