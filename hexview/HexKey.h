#pragma once
// Keys the hex view reacts to, as the window decodes them from virtual-key codes.

namespace tvx {

enum class HexKey {
    Left, Right, Up, Down, PageUp, PageDown, Home, End, Escape, Insert, Delete, Backspace, Tab,
    A, C, V, X, Y, Z, Other
};

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
};

}  // namespace tvx
