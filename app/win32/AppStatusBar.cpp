// The owner-drawn status bar and the read-only notice.

#include "app/StatusText.h"
#include "app/win32/AppWindow.h"

#include <commctrl.h>

namespace tvx {
namespace {

constexpr UINT_PTR kFlashTimer = 1;
constexpr UINT kFlashMilliseconds = 900;

COLORREF ToColorRef(Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

}  // namespace

void AppWindow::RefreshStatusBar() {
    const HexView& view = hexView_.View();
    StatusState state;
    if (flashActive_) state.flash = flashText_;
    if (saving_) state.saveProgress = savingText_;
    if (searching_) state.searchProgress = searchingText_;
    state.fileOpen = document_.IsOpen();
    state.caret = view.Caret();
    state.documentSize = document_.GetSize();
    state.encoding = view.Encoding();
    state.editingEnabled = view.EditingEnabled();
    state.mode = view.Mode();
    state.modified = document_.IsModified();
    state.zoom = view.Zoom();
    statusText_ = BuildStatusText(state, [this](std::string_view key) { return Text(key); });
    if (statusBar_)
        SendMessageW(statusBar_, SB_SETTEXTW, SBT_OWNERDRAW, reinterpret_cast<LPARAM>(statusText_.c_str()));
}

void AppWindow::ColorStatusBar() {
    if (!statusBar_) return;
    const StatusColors colors = StatusBarColors(hexView_.View().GetTheme(), false);
    SendMessageW(statusBar_, SB_SETBKCOLOR, 0,
                 static_cast<LPARAM>(colors.background ? ToColorRef(*colors.background) : GetSysColor(COLOR_BTNFACE)));
    InvalidateRect(statusBar_, nullptr, TRUE);
    UpdateWindow(statusBar_);
}

LRESULT AppWindow::DrawStatusBar(const DRAWITEMSTRUCT& item) {
    const StatusColors colors = StatusBarColors(hexView_.View().GetTheme(), flashActive_);
    const COLORREF background = colors.background ? ToColorRef(*colors.background) : GetSysColor(COLOR_BTNFACE);
    if (HBRUSH brush = CreateSolidBrush(background)) {
        FillRect(item.hDC, &item.rcItem, brush);
        DeleteObject(brush);
    }
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, ToColorRef(colors.text));
    RECT text = item.rcItem;
    text.left += 6;
    DrawTextW(item.hDC, reinterpret_cast<const wchar_t*>(statusText_.c_str()), -1, &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    return TRUE;
}

void AppWindow::FlashReadOnlyNotice() {
    flashActive_ = true;
    flashText_ = Text("status.readonly_blocked");
    KillTimer(window_, kFlashTimer);  // a second notice restarts the 900 ms
    SetTimer(window_, kFlashTimer, kFlashMilliseconds, nullptr);
    MessageBeep(MB_ICONEXCLAMATION);
    RefreshStatusBar();
}

void AppWindow::EndFlash() {
    KillTimer(window_, kFlashTimer);
    flashActive_ = false;
    flashText_.clear();
    RefreshStatusBar();
}

}  // namespace tvx
