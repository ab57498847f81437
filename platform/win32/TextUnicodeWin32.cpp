// The UTF-16 plausibility test through IsTextUnicode.

#include "platform/TextUnicode.h"

#include <windows.h>

#include <climits>

namespace tvx::platform {

bool IsPlausibleUtf16Text(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return false;
    // A buffer beyond the reach of an int is tested on its first INT_MAX bytes.
    const int size = bytes.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(bytes.size());
    int tests = IS_TEXT_UNICODE_ASCII16 | IS_TEXT_UNICODE_STATISTICS | IS_TEXT_UNICODE_CONTROLS;
    return ::IsTextUnicode(bytes.data(), size, &tests) != FALSE;
}

}  // namespace tvx::platform
