#pragma once
// The hex view's colours per theme.

#include "settings/Enums.h"
#include "settings/Rgb.h"

namespace tvx {

struct HexPalette {
    Rgb background;
    Rgb characters;  // hex and text columns
    Rgb offsets;
    Rgb selection;  // also the overwrite caret's fill
    float selectionAlpha = 1;
    Rgb caret;  // outline of the overwrite caret, bar of the insert caret
    Rgb changed;  // characters of bytes that differ from the file
    Rgb match;    // background of the active query's matches, under the selection
};

// A value outside the enumeration gets the Light colours.
[[nodiscard]] HexPalette PaletteFor(Theme theme) noexcept;

}  // namespace tvx
