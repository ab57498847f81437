#include "app/win32/MenuBar.h"

namespace tvx {
namespace {

bool AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        const auto* label = reinterpret_cast<const wchar_t*>(item.label.c_str());
        const UINT grayed = item.grayed ? MF_GRAYED : 0;
        switch (item.kind) {
            case MenuItem::Kind::Separator:
                if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) return false;
                break;
            case MenuItem::Kind::Command:
                if (!AppendMenuW(menu, MF_STRING | grayed, item.id, label)) return false;
                if (item.checked) CheckMenuItem(menu, item.id, MF_BYCOMMAND | MF_CHECKED);
                break;
            case MenuItem::Kind::Popup: {
                HMENU popup = CreatePopupMenu();
                if (!popup) return false;
                if (!AppendItems(popup, item.children) ||
                    !AppendMenuW(menu, MF_POPUP | grayed, reinterpret_cast<UINT_PTR>(popup), label)) {
                    DestroyMenu(popup);
                    return false;
                }
                break;
            }
        }
    }
    return true;
}

}  // namespace

void ApplyGrayedStates(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Popup) ApplyGrayedStates(menu, item.children);
        if (item.kind == MenuItem::Kind::Command)
            EnableMenuItem(menu, item.id, MF_BYCOMMAND | (item.grayed ? MF_GRAYED : MF_ENABLED));
    }
}

HMENU CreateMenuBar(const std::vector<MenuItem>& popups) {
    HMENU bar = CreateMenu();
    if (bar && !AppendItems(bar, popups)) {
        DestroyMenu(bar);
        return nullptr;
    }
    return bar;
}

HMENU CreatePopupFromItems(const std::vector<MenuItem>& items) {
    HMENU popup = CreatePopupMenu();
    if (popup && !AppendItems(popup, items)) {
        DestroyMenu(popup);
        return nullptr;
    }
    return popup;
}

}  // namespace tvx
