// Commands on the selection: copying it in other formats, the hex view's context menu.

#include "app/Commands.h"
#include "app/MenuModel.h"
#include "app/win32/AppWindow.h"
#include "app/win32/MenuBar.h"

#include <windowsx.h>

namespace tvx {

bool AppWindow::ConfirmLargeCopy() {
    const std::u16string text = Text("confirm.large_copy");
    const std::u16string caption = Text("app.title");
    return MessageBoxW(window_, reinterpret_cast<const wchar_t*>(text.c_str()),
                       reinterpret_cast<const wchar_t*>(caption.c_str()), MB_YESNO | MB_ICONWARNING) == IDYES;
}

void AppWindow::ShowError(std::string_view key) {
    const std::u16string text = Text(key);
    const std::u16string caption = Text("app.title");
    MessageBoxW(window_, reinterpret_cast<const wchar_t*>(text.c_str()),
                reinterpret_cast<const wchar_t*>(caption.c_str()), MB_ICONERROR);
}

// WM_CONTEXTMENU from the hex view (DefWindowProc passes it up): at the mouse, or below the
// view's top left corner for the menu key (-1, -1).
void AppWindow::ShowContextMenu(HWND source, LPARAM lParam) {
    if (source != hexView_.Window() || busy_) return;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (point.x == -1 && point.y == -1) {
        point = {0, 0};
        ClientToScreen(source, &point);
    }
    HMENU menu =
        CreatePopupFromItems(BuildContextMenu(CurrentMenuState(), [this](std::string_view key) { return Text(key); }));
    if (!menu) return;
    const int id =
        static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window_, nullptr));
    DestroyMenu(menu);
    if (id != 0) (void)OnCommand(static_cast<WORD>(id));
}

}  // namespace tvx
