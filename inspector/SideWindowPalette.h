#pragma once
// The colours of the two side windows (Data Inspector and Struct View), per theme.

#include "settings/Enums.h"
#include "settings/Rgb.h"

namespace tvx {

struct SideWindowPalette {
    Rgb background;
    Rgb header;     // header bands
    Rgb grid;       // grid lines
    Rgb text;
    Rgb selection;  // the selected value cell or row
};

// A value outside the enumeration gets the Light colours.
[[nodiscard]] SideWindowPalette SideWindowPaletteFor(Theme theme) noexcept;

}  // namespace tvx
