// Opening, closing and saving the one document of the window; dropped files and new
// instances.

#include "app/DropRule.h"
#include "app/win32/AppWindow.h"
#include "platform/AbsolutePath.h"
#include "platform/AppLocation.h"
#include "platform/win32/WideText.h"
#include "settings/SettingsLifecycle.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

namespace tvx {
namespace {


}  // namespace

// The path is made absolute first: a later change of the current folder must not move the
// file that a save writes, and the recent-files list keeps the absolute form.
bool AppWindow::OpenFile(const std::u16string& typedPath) {
    const std::optional<std::u16string> absolute = platform::AbsolutePath(typedPath);
    if (!absolute) return false;
    const std::u16string& path = *absolute;
    document_.Close();
    if (!document_.File().Open(path)) {
        MessageBoxW(window_, Wide(Text("error.open_failed")), Wide(Text("app.title")), MB_ICONERROR);
        AfterDocumentSwitch();
        return false;
    }
    hexView_.View().SetDocument(&document_);  // every file starts read-only
    reloadDeclined_ = false;
    AddRecentFile(settings_, path, settingsPath_);
    RebuildMenu();
    UpdateTitle();
    RefreshStatusBar();
    RequestInspectorValues();
    RequestStructValues();
    return true;
}

void AppWindow::ShowOpenDialog() {
    if (!ConfirmSaveChanges()) return;
    // Room for long paths: a name cut at 260 characters would make the dialog fail.
    std::vector<wchar_t> name(32768, L'\0');
    const std::u16string title = Text("dialog.open.title");
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = Wide(title);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&dialog)) OpenFile(reinterpret_cast<const char16_t*>(name.data()));
}

// Files dropped from the shell: the first opens here when no file is open, every other one
// in a new instance; nothing is asked.
void AppWindow::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::u16string> paths;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::vector<wchar_t> buffer(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, buffer.data(), length + 1);
        paths.emplace_back(buffer.data(), buffer.data() + copied);
    }
    DragFinish(drop);
    DispatchDroppedFiles(paths, document_.IsOpen(),
                         {[this](const std::u16string& path) { return OpenFile(path); },
                          [this](const std::u16string& path) { (void)OpenInNewInstance(path); }});
}

// Starts this program again for path: "exe" "path", so that the path is the new process's
// second argument, spaces and all.
bool AppWindow::OpenInNewInstance(const std::u16string& typedPath) {
    const std::optional<std::u16string> absolute = platform::AbsolutePath(typedPath);
    if (!absolute) return false;
    const std::u16string& path = *absolute;
    const std::u16string executable = platform::ExecutablePath();
    std::u16string commandLine = u"\"" + executable + u"\" \"" + path + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!executable.empty() &&
        CreateProcessW(Wide(executable), reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
    MessageBoxW(window_, Wide(Text("error.open_new_instance_failed")), Wide(Text("app.title")), MB_ICONERROR);
    return false;
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
    RequestStructValues();
}

bool AppWindow::HoldInput() {
    busy_ = true;
    RebuildMenu();
    HWND view = hexView_.Window();
    const bool viewHadFocus = view && GetFocus() == view;
    if (view) EnableWindow(view, FALSE);
    return viewHadFocus;
}

void AppWindow::ReleaseInput(bool viewHadFocus) {
    if (HWND view = hexView_.Window()) {
        EnableWindow(view, TRUE);
        if (viewHadFocus && GetActiveWindow() == window_) SetFocus(view);  // disabling dropped the focus
    }
    busy_ = false;
    RebuildMenu();
}

// The save runs on this thread and pumps messages: the input is held off meanwhile.
bool AppWindow::RunSave(const std::function<bool()>& save) {
    saving_ = true;
    savingText_ = Text("status.saving");
    saveProgress_.Reset();
    const bool viewHadFocus = HoldInput();
    ShowProgress();

    const bool saved = save();

    saving_ = false;
    ReleaseInput(viewHadFocus);
    savingText_.clear();
    saveProgress_.Reset();
    UpdateTitle();
    RefreshStatusBar();
    if (saved) return true;
    std::u16string message = Text("error.save_failed");
    if (!document_.LastErrorText().empty()) message += u"\r\n\r\n" + document_.LastErrorText();
    MessageBoxW(window_, Wide(message), Wide(Text("app.title")), MB_ICONERROR);
    return false;
}

bool AppWindow::SaveFile() {
    if (!document_.IsOpen()) return true;
    if (document_.IsModified() && document_.ChangedOnDisk()) {
        MessageBoxW(window_, Wide(Text("error.file_changed_on_disk")), Wide(Text("app.title")), MB_ICONWARNING);
        return false;
    }
    const bool saved = RunSave([this] {
        return document_.Save([this](std::size_t done, std::size_t total) { OnSaveProgress(done, total); });
    });
    if (saved) reloadDeclined_ = false;  // the file is the one saved now
    return saved;
}

bool AppWindow::SaveFileAs() {
    if (!document_.IsOpen()) return false;
    std::vector<wchar_t> name(32768, L'\0');
    const std::u16string current = document_.GetPath();
    std::copy(current.begin(), current.end(), name.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return false;
    const std::optional<std::u16string> path = platform::AbsolutePath(reinterpret_cast<const char16_t*>(name.data()));
    if (!path) return false;
    const bool saved = RunSave([this, &path] {
        return document_.SaveAs(*path, [this](std::size_t done, std::size_t total) { OnSaveProgress(done, total); });
    });
    if (!saved) return false;
    reloadDeclined_ = false;
    AddRecentFile(settings_, document_.GetPath(), settingsPath_);
    AfterDocumentSwitch();
    return true;
}

void AppWindow::OfferReloadIfChanged() {
    if (busy_ || reloadAsking_ || reloadDeclined_ || !IsWindowEnabled(window_) || !document_.ChangedOnDisk()) return;
    reloadAsking_ = true;
    const bool reload =
        MessageBoxW(window_, Wide(Text("confirm.reload_changed")), Wide(Text("app.title")), MB_YESNO | MB_ICONQUESTION) ==
            IDYES &&
        (!document_.IsModified() || MessageBoxW(window_, Wide(Text("confirm.reload_drops_edits")),
                                                Wide(Text("app.title")), MB_YESNO | MB_ICONWARNING) == IDYES);
    reloadAsking_ = false;
    if (reload) {
        const std::u16string path = document_.GetPath();
        OpenFile(path);
    } else {
        reloadDeclined_ = true;
    }
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
