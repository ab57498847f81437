// Opening, closing and saving the one document of the window.

#include "app/win32/AppWindow.h"

#include "settings/SettingsLifecycle.h"

namespace tvx {
namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace

bool AppWindow::OpenFile(const std::u16string& path) {
    if (path.empty()) return false;
    document_.Close();
    if (!document_.File().Open(path)) {
        MessageBoxW(window_, Wide(Text("error.open_failed")), Wide(Text("app.title")), MB_ICONERROR);
        AfterDocumentSwitch();
        return false;
    }
    hexView_.View().SetDocument(&document_);  // every file starts read-only
    AddRecentFile(settings_, path, settingsPath_);
    RebuildMenu();
    UpdateTitle();
    RefreshStatusBar();
    RequestInspectorValues();
    // Struct View values are requested here once it exists.
    return true;
}

void AppWindow::CloseFile() {
    if (!ConfirmSaveChanges()) return;
    document_.Close();
    AfterDocumentSwitch();
}

// The view shows the (now empty) document again, and everything that shows it follows.
void AppWindow::AfterDocumentSwitch() {
    hexView_.View().SetDocument(&document_);
    RebuildMenu();
    UpdateTitle();
    RefreshStatusBar();
    RequestInspectorValues();
    // Struct View values are requested here once it exists.
}

// The save runs on this thread. While it pumps messages, the busy flag grays the menu and
// keeps the window open, and the disabled hex view takes no edit.
bool AppWindow::SaveFile() {
    if (!document_.IsOpen()) return true;
    saving_ = busy_ = true;
    savingText_ = Text("status.saving");
    saveProgress_.Reset();
    RebuildMenu();
    HWND view = hexView_.Window();
    const bool viewHadFocus = view && GetFocus() == view;
    if (view) EnableWindow(view, FALSE);
    ShowProgress();

    const bool saved = document_.Save([this](std::size_t done, std::size_t total) { OnSaveProgress(done, total); });

    if (view) {
        EnableWindow(view, TRUE);
        if (viewHadFocus && GetActiveWindow() == window_) SetFocus(view);  // disabling dropped the focus
    }
    saving_ = busy_ = false;
    savingText_.clear();
    saveProgress_.Reset();
    RebuildMenu();
    UpdateTitle();
    RefreshStatusBar();
    if (saved) return true;
    std::u16string message = Text("error.save_failed");
    if (!document_.LastErrorText().empty()) message += u"\r\n\r\n" + document_.LastErrorText();
    MessageBoxW(window_, Wide(message), Wide(Text("app.title")), MB_ICONERROR);
    return false;
}

bool AppWindow::ConfirmSaveChanges() {
    if (!document_.IsOpen() || !document_.IsModified()) return true;
    switch (MessageBoxW(window_, Wide(Text("confirm.save_changes")), Wide(Text("app.title")),
                        MB_YESNOCANCEL | MB_ICONWARNING)) {
        case IDYES: return SaveFile();
        case IDNO: return true;
        default: return false;
    }
}

}  // namespace tvx
