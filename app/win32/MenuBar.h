#pragma once
// Turns the menu model into a Win32 menu bar.

#include "app/MenuModel.h"

#include <windows.h>

#include <vector>

namespace tvx {

// A new menu bar (CreateMenu) holding the popups; null on failure. The caller owns it.
[[nodiscard]] HMENU CreateMenuBar(const std::vector<MenuItem>& popups);

}  // namespace tvx
