#pragma once
// Turns the menu model into a Win32 menu bar.

#include "app/MenuModel.h"

#include <windows.h>

#include <vector>

namespace tvx {

// A new menu bar (CreateMenu) holding the popups; null on failure. The caller owns it.
[[nodiscard]] HMENU CreateMenuBar(const std::vector<MenuItem>& popups);

// A new popup menu (CreatePopupMenu) holding the items, for TrackPopupMenu; null on failure.
[[nodiscard]] HMENU CreatePopupFromItems(const std::vector<MenuItem>& items);

// Grays or enables every command of the model in the menu (by command id).
void ApplyGrayedStates(HMENU menu, const std::vector<MenuItem>& items);

}  // namespace tvx
