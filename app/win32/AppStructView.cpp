// The struct pattern shown in the Struct View: choosing, loading, reloading and unloading it,
// the value format, and the rows from the struct worker.

#include "app/Commands.h"
#include "app/WindowTitle.h"
#include "app/win32/AppWindow.h"
#include "inspector/InspectorLabels.h"
#include "platform/AppLocation.h"
#include "settings/SettingsLifecycle.h"
#include "structpattern/PatternLoader.h"
#include "structview/ValueFormatChoice.h"

#include <commdlg.h>

#include <memory>

namespace tvx {

StructValueFormat AppWindow::SettingsValueFormat() const {
    return {settings_.byteArrayFormat, settings_.byteOrder, settings_.numericBase};
}

bool AppWindow::StructViewIsActive() const {
    HWND view = structView_.Window();
    if (!view) return false;
    HWND focus = GetFocus();
    return GetForegroundWindow() == view || focus == view || (focus && IsChild(view, focus));
}

void AppWindow::ActivateStructView() {
    HWND view = structView_.Window();
    if (!view) return;
    SetActiveWindow(view);
    SetForegroundWindow(view);
    SetFocus(view);
}

void AppWindow::ChooseStructPatternFile() {
    const bool wasActive = StructViewIsActive();
    const std::u16string title = Text("dialog.struct_definition.title");
    const std::u16string folder = platform::ExecutableDirectory() + u"\\patterns";
    static constexpr wchar_t kFilter[] = L"Tavro Struct Pattern (*.tvsd)\0*.tvsd\0All Files (*.*)\0*.*\0";
    wchar_t file[260] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = wasActive ? structView_.Window() : window_;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = 260;
    dialog.lpstrInitialDir = reinterpret_cast<const wchar_t*>(folder.c_str());
    dialog.lpstrTitle = reinterpret_cast<const wchar_t*>(title.c_str());
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return;
    (void)LoadStructPattern(reinterpret_cast<const char16_t*>(file));  // a failure shows in the view
    if (wasActive) ActivateStructView();
}

bool AppWindow::LoadStructPattern(const std::u16string& path) {
    if (path.empty()) return false;
    StructPatternFile file;
    std::u16string error;
    const bool loaded = LoadStructPatternFile(path, file, error);
    structPatternPath_ = path;
    structPatternName_ = FileNamePart(path);
    if (loaded) {
        structPatternSummary_ = FormatPatternSummary(file);
        structPatternError_.clear();
        structPattern_ = std::make_shared<const StructPatternFile>(std::move(file));
    } else {
        structPatternSummary_.clear();
        structPatternError_ = std::move(error);
        structPattern_.reset();
    }
    if (settings_.structViewVisible && structView_.Window()) {
        RefreshStructViewTexts();
        RequestStructValues();
    } else {
        ShowStructView(true);
    }
    return loaded;
}

void AppWindow::ReloadStructPattern() {
    if (structPatternPath_.empty()) return;
    const bool wasActive = StructViewIsActive();
    const std::u16string path = structPatternPath_;  // a copy: loading replaces it
    (void)LoadStructPattern(path);
    if (wasActive) ActivateStructView();
}

void AppWindow::UnloadStructPattern() {
    structPattern_.reset();
    structPatternPath_.clear();
    structPatternName_.clear();
    structPatternSummary_.clear();
    structPatternError_.clear();
    structWorker_.DropPending();
    if (settings_.structViewVisible && structView_.Window()) structView_.SetMessage(Text("structview.empty.message"));
}

// Without a pattern the view shows the error of the last failed load, which stays until the
// user loads, reloads or unloads; else the empty message.
void AppWindow::ShowStructViewWithoutPattern() {
    if (!structPatternError_.empty())
        structView_.SetError(structPatternName_, structPatternError_);
    else
        structView_.SetMessage(Text("structview.empty.message"));
}

void AppWindow::RefreshStructViewTexts() {
    if (!settings_.structViewVisible || !structView_.Window()) return;
    if (!structPattern_) {
        ShowStructViewWithoutPattern();
        return;
    }
    if (document_.IsOpen()) {
        structView_.SetRows(structPatternName_, {}, structPatternSummary_);  // the worker's result fills the rows
        return;
    }
    StructEvalRequest request;
    request.baseOffset = hexView_.View().Caret();
    request.file = structPattern_;
    request.unavailableText = InspectorUnavailableText(strings_);
    request.format = SettingsValueFormat();
    structView_.SetRows(structPatternName_, BuildStructRows(request), structPatternSummary_);
}

void AppWindow::RequestStructValues() {
    if (!settings_.structViewVisible || !EnsureStructViewWindow()) return;
    if (!structPattern_) {
        ShowStructViewWithoutPattern();
        return;
    }
    StructEvalRequest request;
    request.baseOffset = hexView_.View().Caret();
    request.file = structPattern_;
    request.unavailableText = InspectorUnavailableText(strings_);
    request.format = SettingsValueFormat();
    const std::uint64_t size = StructRequestSize(*structPattern_);
    if (document_.IsOpen() && size > 0) request.data = document_.ReadBytes(request.baseOffset, size).bytes;
    (void)structWorker_.Submit(std::move(request));
}

bool AppWindow::PostStructResult(StructWorker::Result* result) {
    return PostMessageW(window_, WM_APP + kAppStructResult, 0, reinterpret_cast<LPARAM>(result)) != 0;
}

void AppWindow::OnStructResult(LPARAM lParam) {
    std::unique_ptr<StructWorker::Result> result(reinterpret_cast<StructWorker::Result*>(lParam));
    if (!result || !structWorker_.IsCurrent(result->generation) || !settings_.structViewVisible) return;
    if (!EnsureStructViewWindow()) return;
    if (structPattern_)
        structView_.SetRows(structPatternName_, std::move(result->value), structPatternSummary_);
    else
        ShowStructViewWithoutPattern();
}

void AppWindow::ChangeStructFormat(WPARAM choice) {
    const StructValueFormat current = SettingsValueFormat();
    const std::optional<StructValueFormat> chosen = ApplyValueFormatChoice(current, static_cast<int>(choice));
    if (!chosen || SameValueFormat(*chosen, current)) return;
    settings_.byteArrayFormat = chosen->byteArrayFormat;
    settings_.byteOrder = chosen->byteOrder;
    settings_.numericBase = chosen->numericBase;
    SaveSettingsNow();
    structView_.SetValueFormat(*chosen);
    if (structView_.Window()) RedrawWindow(structView_.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    RefreshStructViewTexts();
    RequestStructValues();
}

}  // namespace tvx
