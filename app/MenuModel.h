#pragma once
// The main window's menu bar as data, rebuilt from the application state on every change.

#include "settings/Enums.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// Looks a user-interface text up by key.
using TextLookup = std::function<std::u16string(std::string_view key)>;

struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    std::u16string label;
    std::uint32_t id = 0;  // commands only
    bool checked = false;
    bool grayed = false;
    std::vector<MenuItem> children;  // popups only
};

// Everything the menu shows.
struct MenuState {
    bool busy = false;  // a save is running: every item and popup is grayed
    bool fileOpen = false;
    bool readOnly = true;
    bool canUndo = false;
    bool canRedo = false;
    bool selection = false;       // the hex view has a selection
    bool clipboardText = false;   // the clipboard holds text
    TextEncoding encoding = TextEncoding::Ascii;
    Theme theme = Theme::Light;
    Language language = Language::System;
    bool dataInspectorVisible = false;
    bool structViewVisible = false;
    std::vector<std::u16string> recentFiles;  // most recent first
};

// The top-level popups File, Edit, View, Tools, Settings and Help.
[[nodiscard]] std::vector<MenuItem> BuildMenuBar(const MenuState& state, const TextLookup& text);

// The hex view's context menu: the Edit menu's items that act on the selection or the caret.
[[nodiscard]] std::vector<MenuItem> BuildContextMenu(const MenuState& state, const TextLookup& text);

// Recent files in groups of eight, each further group in a "more" popup after the eighth
// item, numbered on across the levels.
[[nodiscard]] std::vector<MenuItem> BuildRecentFileItems(const std::vector<std::u16string>& files,
                                                         const TextLookup& text, bool grayed);

}  // namespace tvx
