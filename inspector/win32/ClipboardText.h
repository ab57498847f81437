#pragma once
// Text to the clipboard, as the side windows copy it.

#include <windows.h>

#include <string_view>

namespace tvx {

// Puts text on the clipboard as CF_UNICODETEXT in a GMEM_MOVEABLE block, opened for owner.
// False, with the block freed, when the block cannot be made, the clipboard cannot be opened
// or it refuses the block.
[[nodiscard]] bool CopyTextToClipboard(HWND owner, std::u16string_view text);

}  // namespace tvx
