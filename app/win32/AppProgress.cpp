// Progress during saving and searching: the status bar percentage and the message pump that
// keeps the window alive while the work runs on this thread.

#include "app/win32/AppWindow.h"

namespace tvx {

// Dispatches everything that is waiting, without accelerators or dialog navigation. A quit
// request is put back for the main loop, which ends the program after the operation.
void AppWindow::PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void AppWindow::ShowProgress() {
    RefreshStatusBar();
    if (statusBar_) UpdateWindow(statusBar_);
    PumpMessages();
}

// Both handlers redraw only when the throttle lets the percentage through; the pump runs with
// the redraw, so its cost stays small next to the work.
void AppWindow::OnSaveProgress(std::size_t done, std::size_t total) {
    saving_ = true;
    if (const auto percent = saveProgress_.Update(done, total, GetTickCount64())) {
        savingText_ = FormatProgressText(Text("status.saving"), *percent);
        ShowProgress();
    }
}

void AppWindow::BeginSearchProgress() {
    searching_ = true;
    searchingText_ = Text("status.searching");
    searchProgress_.Reset();
    RefreshStatusBar();
}

void AppWindow::OnSearchProgress(std::size_t done, std::size_t total) {
    searching_ = true;
    if (const auto percent = searchProgress_.Update(done, total, GetTickCount64())) {
        searchingText_ = FormatProgressText(Text("status.searching"), *percent);
        ShowProgress();
    }
}

void AppWindow::EndSearchProgress() {
    searching_ = false;
    searchingText_.clear();
    searchProgress_.Reset();
    RefreshStatusBar();
}

// Escape is read from the keyboard state because the pump does not route keys through the
// dialog: a key press would reach the focused edit field, not the dialog.
bool AppWindow::CheckSearchCancel(bool* cancelRequested) {
    if (cancelRequested && (GetAsyncKeyState(VK_ESCAPE) & 0x8000)) *cancelRequested = true;
    PumpMessages();
    return !(cancelRequested && *cancelRequested);
}

}  // namespace tvx
