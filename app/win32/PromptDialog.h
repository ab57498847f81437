#pragma once
// A small modal prompt ("Tavro.PromptDialog"): one label, one edit field, OK and Cancel.

#include <windows.h>

#include <optional>
#include <string>

namespace tvx {

// The text typed when the user confirmed with OK (or Enter); nothing after Cancel, Esc, the
// close box, or when the dialog cannot be made. The whole initial text starts selected.
[[nodiscard]] std::optional<std::u16string> ShowPromptDialog(HWND owner, HINSTANCE instance,
                                                             const std::u16string& title,
                                                             const std::u16string& prompt,
                                                             const std::u16string& initial);

}  // namespace tvx
