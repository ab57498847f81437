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

// The handler save and search share: the percentage is redrawn only when the throttle lets it
// through, and the pump runs with the redraw, so its cost stays small next to the work.
void AppWindow::ReportProgress(ProgressThrottle& throttle, std::u16string& text, std::string_view label,
                               std::size_t done, std::size_t total) {
    if (const auto percent = throttle.Update(done, total, GetTickCount64())) {
        text = FormatProgressText(Text(label), *percent);
        ShowProgress();
    }
}

void AppWindow::OnSaveProgress(std::size_t done, std::size_t total) {
    saving_ = true;
    ReportProgress(saveProgress_, savingText_, "status.saving", done, total);
}

void AppWindow::BeginSearchProgress() {
    searching_ = true;
    searchingText_ = Text("status.searching");
    searchProgress_.Reset();
    RefreshStatusBar();
}

void AppWindow::OnSearchProgress(std::size_t done, std::size_t total) {
    searching_ = true;
    ReportProgress(searchProgress_, searchingText_, "status.searching", done, total);
}

void AppWindow::BeginWorkProgress(std::string_view label) {
    workLabel_ = label;
    searching_ = true;
    searchingText_ = Text(label);
    searchProgress_.Reset();
    RefreshStatusBar();
}

void AppWindow::OnWorkProgress(std::size_t done, std::size_t total) {
    ReportProgress(searchProgress_, searchingText_, workLabel_, done, total);
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
