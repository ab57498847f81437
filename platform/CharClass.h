#pragma once
// Character classes of the system's character type tables (GetStringTypeW).

#include <string_view>

namespace tvx::platform {

// True when the character (one UTF-16 unit, or a surrogate pair) is a nonspacing mark:
// CT_CTYPE3 reports C3_NONSPACING without C3_ALPHA. Windows also flags precomposed letters
// ("é", "が") as nonspacing; the C3_ALPHA test keeps them out. False when the system cannot
// classify the character; Windows gives supplementary characters no class here.
[[nodiscard]] bool IsNonspacingMark(std::u16string_view character);

}  // namespace tvx::platform
