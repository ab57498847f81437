// The side windows docked against the main window, and the Data Inspector's values.

#include "app/Commands.h"
#include "app/win32/AppWindow.h"
#include "inspector/InspectorLabels.h"
#include "structview/StructViewLabels.h"

#include <memory>

namespace tvx {
namespace {

// Docks window against the main window's outer rectangle at x, with its top and height; a
// minimised main window hides it instead.
void Dock(HWND main, HWND window, int x, int width, bool move) {
    const bool minimised = IsIconic(main);
    RECT outer{};
    GetWindowRect(main, &outer);
    if (!minimised && move)
        SetWindowPos(window, nullptr, x, outer.top, width, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ShowWindow(window, minimised ? SW_HIDE : SW_SHOWNOACTIVATE);
}

}  // namespace

void AppWindow::PositionInspectorWindow() {
    if (!window_ || !inspector_.Window()) return;
    RECT outer{};
    GetWindowRect(window_, &outer);
    Dock(window_, inspector_.Window(), outer.right + 1, inspector_.Width(), true);
}

// Creates the window when missing; true when it exists.
bool AppWindow::EnsureInspectorWindow() {
    return inspector_.Window() ||
           inspector_.CreateOrUpdate(window_, instance_, LoadInspectorLabels(strings_), settings_.theme);
}

void AppWindow::ShowDataInspector(bool visible) {
    if (settings_.dataInspectorVisible != visible) {
        settings_.dataInspectorVisible = visible;
        SaveSettingsNow();
    }
    if (visible) {
        // Also re-reads the labels of an existing window.
        if (inspector_.CreateOrUpdate(window_, instance_, LoadInspectorLabels(strings_), settings_.theme)) {
            PositionInspectorWindow();
            RequestInspectorValues();
        }
    } else {
        inspector_.Destroy();
    }
    if (window_) RebuildMenu();
}

void AppWindow::OnInspectorClosed() {
    if (settings_.dataInspectorVisible) {
        settings_.dataInspectorVisible = false;
        SaveSettingsNow();
    }
    inspector_.Destroy();
    if (window_) RebuildMenu();
}

void AppWindow::RequestInspectorValues() {
    if (!settings_.dataInspectorVisible || !EnsureInspectorWindow()) return;
    InspectorRequest request;
    request.unavailable = InspectorUnavailableText(strings_);
    request.bytes = document_.ReadBytes(hexView_.View().Caret(), kInspectorByteCount).bytes;
    (void)inspectorWorker_.Submit(std::move(request));
}

bool AppWindow::PostInspectorResult(InspectorWorker::Result* result) {
    return PostMessageW(window_, WM_APP + kAppInspectorResult, 0, reinterpret_cast<LPARAM>(result)) != 0;
}

void AppWindow::OnInspectorResult(LPARAM lParam) {
    const std::unique_ptr<InspectorWorker::Result> result(reinterpret_cast<InspectorWorker::Result*>(lParam));
    if (!result || !inspectorWorker_.IsCurrent(result->generation) || !settings_.dataInspectorVisible) return;
    if (!EnsureInspectorWindow()) return;
    inspector_.SetValues(result->value);
    PositionInspectorWindow();
}

void AppWindow::PositionStructViewWindow() {
    HWND view = structView_.Window();
    if (!window_ || !view) return;
    RECT outer{};
    GetWindowRect(window_, &outer);
    // A maximised view stays where it is.
    Dock(window_, view, outer.left - structView_.Width() - 1, structView_.Width(), !IsZoomed(view));
}

// Creates the window when missing, with the settings' value format, and docks it; true when
// it exists.
bool AppWindow::EnsureStructViewWindow() {
    if (structView_.Window()) return true;
    if (!structView_.Create(window_, instance_, LoadStructViewLabels(strings_), settings_.theme)) return false;
    structView_.SetValueFormat(SettingsValueFormat());
    structView_.Redraw();
    PositionStructViewWindow();
    return true;
}

void AppWindow::ShowStructView(bool visible) {
    if (settings_.structViewVisible != visible) {
        settings_.structViewVisible = visible;
        SaveSettingsNow();
    }
    if (visible) {
        if (EnsureStructViewWindow()) {
            structView_.SetLabels(LoadStructViewLabels(strings_));
            RefreshStructViewTexts();
            PositionStructViewWindow();
            RequestStructValues();
        }
    } else {
        structView_.Destroy();
    }
    if (window_) RebuildMenu();
}

void AppWindow::OnStructViewClosed() {
    if (settings_.structViewVisible) {
        settings_.structViewVisible = false;
        SaveSettingsNow();
    }
    structView_.Destroy();
    if (window_) RebuildMenu();
}

}  // namespace tvx
