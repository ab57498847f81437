// Commands on the selection and the caret: filling, inserting repeated bytes, the question
// before a large copy, the hex view's context menu.

#include "app/ByteCount.h"
#include "app/Commands.h"
#include "app/MenuModel.h"
#include "app/win32/AppWindow.h"
#include "app/win32/MenuBar.h"
#include "app/win32/PromptDialog.h"
#include "hexview/ClipboardText.h"

#include <windowsx.h>

namespace tvx {

std::optional<std::vector<std::uint8_t>> AppWindow::PromptForPattern(std::string_view titleKey) {
    const std::optional<std::u16string> text =
        ShowPromptDialog(window_, instance_, Text(titleKey), Text("dialog.pattern.prompt"), u"00");
    if (!text) return std::nullopt;
    std::optional<std::vector<std::uint8_t>> pattern = ParseHexText(*text);
    if (!pattern) ShowError("error.pattern_invalid");
    return pattern;
}

void AppWindow::FillSelection() {
    HexView& view = hexView_.View();
    if (!document_.IsOpen() || !view.SelectionActive()) return;
    if (!view.EditingEnabled()) return FlashReadOnlyNotice();
    if (const auto pattern = PromptForPattern("dialog.fill.title")) (void)view.FillSelection(*pattern);
}

void AppWindow::InsertBytes() {
    HexView& view = hexView_.View();
    if (!document_.IsOpen()) return;
    if (!view.EditingEnabled()) return FlashReadOnlyNotice();
    const std::optional<std::u16string> text =
        ShowPromptDialog(window_, instance_, Text("dialog.insert_bytes.title"), Text("dialog.insert_bytes.count"), u"16");
    if (!text) return;
    const std::optional<std::uint64_t> count = ParseByteCount(*text);
    if (!count) return ShowError("error.count_invalid");
    const auto pattern = PromptForPattern("dialog.insert_bytes.pattern_title");
    if (pattern && !view.InsertRepeated(*count, *pattern)) ShowError("error.insert_too_large");
}

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
