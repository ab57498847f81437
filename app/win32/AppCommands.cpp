// Menu commands, the menu bar and the title.

#include "app/Commands.h"
#include "app/MenuModel.h"
#include "app/WindowTitle.h"
#include "app/win32/AppWindow.h"
#include "app/win32/MenuBar.h"
#include "inspector/InspectorLabels.h"
#include "structview/StructViewLabels.h"
#include "settings/SettingsLifecycle.h"

namespace tvx {

bool AppWindow::OnCommand(WORD id) {
    HexView& view = hexView_.View();
    if (id >= kCmdRecentFileFirst) {
        const std::size_t index = id - kCmdRecentFileFirst;
        if (index < settings_.recentFiles.size() && ConfirmSaveChanges()) {
            const std::u16string path = settings_.recentFiles[index];  // a copy: opening reorders the list
            OpenFile(path);
        }
        return true;
    }
    switch (id) {
        case kCmdOpen: ShowOpenDialog(); return true;
        case kCmdSave: (void)SaveFile(); return true;
        case kCmdSaveAs: (void)SaveFileAs(); return true;
        case kCmdClose: CloseFile(); return true;
        case kCmdReadOnly: ToggleReadOnly(); return true;
        case kCmdEncodingAscii: SetEncoding(TextEncoding::Ascii); return true;
        case kCmdEncodingUtf8: SetEncoding(TextEncoding::Utf8); return true;
        case kCmdEncodingUtf16Le: SetEncoding(TextEncoding::Utf16Le); return true;
        case kCmdEncodingUtf16Be: SetEncoding(TextEncoding::Utf16Be); return true;
        case kCmdThemeLight: SetTheme(Theme::Light); return true;
        case kCmdThemeDarkBlue: SetTheme(Theme::DarkBlue); return true;
        case kCmdThemeBlack: SetTheme(Theme::Black); return true;
        case kCmdZoomOut:
            view.ChangeZoom(-0.1f);
            RebuildMenu();
            return true;
        case kCmdZoomIn:
            view.ChangeZoom(0.1f);
            RebuildMenu();
            return true;
        case kCmdZoomReset:
            view.ResetZoom();
            RebuildMenu();
            return true;
        case kCmdDataInspector: ShowDataInspector(!settings_.dataInspectorVisible); return true;
        case kCmdStructView: ShowStructView(!settings_.structViewVisible); return true;
        case kCmdExit:
            if (ConfirmSaveChanges()) DestroyWindow(window_);
            return true;
        case kCmdLanguageSystem: SetLanguage(Language::System); return true;
        case kCmdLanguageEnglish: SetLanguage(Language::English); return true;
        case kCmdLanguageJapanese: SetLanguage(Language::Japanese); return true;
        case kCmdFind: FindNext(); return true;
        case kCmdFindNextAgain: SearchAgain(SearchDirection::Next); return true;
        case kCmdFindPreviousAgain: SearchAgain(SearchDirection::Previous); return true;
        case kCmdReplace: ShowReplaceDialog(); return true;
        case kCmdGoTo: GoToOffset(); return true;
        case kCmdFont: ShowFontDialog(); return true;
        case kCmdAbout: ShowAboutDialog(); return true;
        case kCmdUndo: view.Undo(); return true;
        case kCmdRedo: view.Redo(); return true;
        case kCmdCut: view.Cut(); return true;
        case kCmdPaste: view.Paste(); return true;
        case kCmdCopy: (void)view.Copy(); return true;
        case kCmdCopyAsHexSpaced:
        case kCmdCopyAsHexCompact:
        case kCmdCopyAsCArray:
        case kCmdCopyAsPythonBytes:
        case kCmdCopyAsBase64:
            (void)view.CopyAs(static_cast<CopyFormat>(id - kCmdCopyAsHexSpaced));
            return true;
        case kCmdSelectAll: view.SelectAll(); return true;
        case kCmdFillSelection: FillSelection(); return true;
        case kCmdInsertBytes: InsertBytes(); return true;
        case kCmdChecksums: ShowChecksums(); return true;
        case kCmdSaveSelectionAs: SaveSelectionAs(); return true;
        default: return false;
    }
}

MenuState AppWindow::CurrentMenuState() const {
    const HexView& view = hexView_.View();
    MenuState state;
    state.busy = busy_;
    state.fileOpen = document_.IsOpen();
    state.readOnly = !view.EditingEnabled();
    state.encoding = view.Encoding();
    state.theme = view.GetTheme();
    state.language = strings_.GetLanguage();
    state.dataInspectorVisible = settings_.dataInspectorVisible;
    state.structViewVisible = settings_.structViewVisible;
    state.recentFiles = settings_.recentFiles;
    state.canUndo = document_.CanUndo();
    state.canRedo = document_.CanRedo();
    state.selection = view.SelectionActive();
    state.clipboardText = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    return state;
}

// The Edit items' graying depends on the view and the clipboard: set as a menu opens.
void AppWindow::UpdateMenuGraying() {
    if (menuBar_) ApplyGrayedStates(menuBar_, BuildMenuBar(CurrentMenuState(), [this](std::string_view key) { return Text(key); }));
}

void AppWindow::RebuildMenu() {
    const MenuState state = CurrentMenuState();
    HMENU bar = CreateMenuBar(BuildMenuBar(state, [this](std::string_view key) { return Text(key); }));
    HMENU old = menuBar_;
    menuBar_ = bar;
    SetMenu(window_, menuBar_);
    if (old) DestroyMenu(old);
    DrawMenuBar(window_);
}

void AppWindow::UpdateTitle() {
    const std::u16string title =
        BuildWindowTitle(Text("app.title"), document_.IsOpen(), document_.GetPath(), document_.IsModified());
    SetWindowTextW(window_, reinterpret_cast<const wchar_t*>(title.c_str()));
}

void AppWindow::ToggleReadOnly() {
    HexView& view = hexView_.View();
    view.SetEditingEnabled(!view.EditingEnabled());  // also drops a half-typed byte
    PostMessageW(window_, WM_APP + kAppDocumentChanged, 0, 0);
    RebuildMenu();
    RefreshStatusBar();
}

void AppWindow::ShowPasteRefused(WPARAM reason) {
    ShowError(reason == static_cast<WPARAM>(PasteRefusal::PastEnd) ? "error.paste_past_end"
                                                                   : "error.paste_not_encodable");
}

void AppWindow::SaveSettingsNow() { SaveSettings(settings_, settingsPath_); }

// The three settings commands rewrite the file even when the value is unchanged.
void AppWindow::SetEncoding(TextEncoding encoding) {
    hexView_.View().SetEncoding(encoding);
    settings_.encoding = encoding;
    SaveSettingsNow();
    RebuildMenu();
    RefreshStatusBar();
}

void AppWindow::SetTheme(Theme theme) {
    hexView_.View().SetTheme(theme);
    settings_.theme = theme;
    SaveSettingsNow();
    ColorStatusBar();
    inspector_.SetTheme(theme);
    structView_.SetTheme(theme);
    RebuildMenu();
    RefreshStatusBar();
    RequestStructValues();
}

void AppWindow::SetLanguage(Language language) {
    strings_.SetLanguage(language);
    settings_.language = language;
    SaveSettingsNow();
    RebuildMenu();
    UpdateTitle();
    RefreshStatusBar();
    if (inspector_.Window()) inspector_.SetLabels(LoadInspectorLabels(strings_));
    RequestInspectorValues();
    if (structView_.Window()) structView_.SetLabels(LoadStructViewLabels(strings_));
    RefreshStructViewTexts();
    RequestStructValues();
}

}  // namespace tvx
