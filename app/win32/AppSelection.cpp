// Commands on the selection and the caret: filling, inserting repeated bytes, the question
// before a large copy, the hex view's context menu.

#include "app/ByteCount.h"
#include "app/Commands.h"
#include "app/MenuModel.h"
#include "app/win32/AppWindow.h"
#include "app/win32/MenuBar.h"
#include "app/win32/DialogSupport.h"
#include "app/win32/PromptDialog.h"
#include "document/SaveRange.h"
#include "hexview/ClipboardText.h"

#include <commdlg.h>
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

// The bytes go through a temporary file in the target's folder; the document is unchanged.
void AppWindow::SaveSelectionAs() {
    const HexView& view = hexView_.View();
    if (!document_.IsOpen() || !view.SelectionActive() || busy_) return;
    std::vector<wchar_t> name(32768, L'\0');
    const std::u16string title = Text("dialog.save_selection.title");
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = Wide(title);
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return;
    const std::u16string path(reinterpret_cast<const char16_t*>(name.data()));

    const std::uint64_t first = view.SelectionStart();
    const bool viewHadFocus = HoldInput();
    BeginWorkProgress("status.saving");
    std::u16string error;
    const bool saved = SaveRange(document_, first, view.SelectionEnd() - first + 1, path,
                                 [this](std::size_t done, std::size_t total) { OnWorkProgress(done, total); }, error);
    EndSearchProgress();
    ReleaseInput(viewHadFocus);
    if (saved) return;
    const std::u16string message = Text("error.save_selection_failed") + u"\r\n\r\n" + error;
    MessageBoxW(window_, Wide(message), Wide(Text("app.title")), MB_ICONERROR);
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
