#pragma once
// The font dialog ("Tavro.FontDialog"): a modal, resizable popup in which the user picks the
// hex view's family from the installed fixed-pitch fonts, a size from the fixed list, bold
// and italic.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tvx {

struct FontDialogTexts {
    std::u16string title, family, size, bold, italic, ok, cancel;
};

struct FontSelection {
    std::u16string family;
    float points = 12.0f;
    bool bold = false;
    bool italic = false;
};

// The installed fixed-pitch families as FixedPitchFamilies lists them, from the screen's
// font enumeration over every character set.
[[nodiscard]] std::vector<std::u16string> InstalledFixedPitchFamilies();

// The choice confirmed with OK; nothing after Cancel, Esc, the close box, or when the dialog
// cannot be made. families must not be empty.
[[nodiscard]] std::optional<FontSelection> RunFontDialog(HWND owner, HINSTANCE instance, const FontDialogTexts& texts,
                                                         const std::vector<std::u16string>& families,
                                                         const FontSelection& current);

}  // namespace tvx
