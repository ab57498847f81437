#pragma once
// The application object: owns the string table, the settings, the document and the hex
// view, creates the main window with its menu bar, status bar and hex view, and runs the
// message loop. Lives on the entry routine's stack for the whole run; everything here runs
// on the user-interface thread.

#include "app/InspectorWorker.h"
#include "app/MenuModel.h"
#include "app/ProgressThrottle.h"
#include "app/StructWorker.h"
#include "app/win32/SearchDialog.h"
#include "document/EditableDocument.h"
#include "hexview/win32/HexViewWindow.h"
#include "inspector/win32/DataInspectorWindow.h"
#include "localization/StringTable.h"
#include "settings/AppSettings.h"
#include "structview/win32/StructViewWindow.h"

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tvx {

class AppWindow {
public:
    AppWindow() = default;
    AppWindow(const AppWindow&) = delete;
    AppWindow& operator=(const AppWindow&) = delete;
    ~AppWindow();

    // Loads the settings, registers the classes, creates the main window (which opens path,
    // when given) and the accelerators. False when the window or the accelerators could
    // not be made.
    [[nodiscard]] bool Create(HINSTANCE instance, std::optional<std::u16string> path);
    // Runs until WM_QUIT; returns its exit code.
    int RunMessageLoop();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A command from the Data Inspector or the Struct View (offset from WM_APP).
    void OnSideWindowCommand(UINT offset, WPARAM wParam);

    // Start-up and layout (AppWindow.cpp).
    void OnCreate();
    void LayoutChildren();
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    [[nodiscard]] std::u16string Text(std::string_view key);

    // Files (AppFiles.cpp).
    bool OpenFile(const std::u16string& path);
    void ShowOpenDialog();
    void OnDropFiles(HDROP drop);
    [[nodiscard]] bool OpenInNewInstance(const std::u16string& path);
    void CloseFile();
    [[nodiscard]] bool SaveFile();
    // Save As: the save dialog, then the whole document written to the chosen file, which the
    // document then is.
    [[nodiscard]] bool SaveFileAs();
    // Runs one save with the input held off and the progress shown; false after telling why.
    [[nodiscard]] bool RunSave(const std::function<bool()>& save);
    // When the file changed on disk since it was opened, asks once whether to reload it.
    void OfferReloadIfChanged();
    // While work on this thread pumps messages without a modal dialog: the busy flag grays the
    // menu and keeps the window open, and the disabled hex view takes no edit. HoldInput
    // tells whether the view had the focus, which ReleaseInput gives back.
    [[nodiscard]] bool HoldInput();
    void ReleaseInput(bool viewHadFocus);
    [[nodiscard]] bool ConfirmSaveChanges();
    void AfterDocumentSwitch();

    // Commands and menus (AppCommands.cpp).
    bool OnCommand(WORD id);
    void RebuildMenu();
    [[nodiscard]] MenuState CurrentMenuState() const;
    void UpdateMenuGraying();
    void ShowPasteRefused(WPARAM reason);
    // A message box with the text of key, MB_ICONERROR.
    void ShowError(std::string_view key);
    void UpdateTitle();
    void ToggleReadOnly();
    void ResetZoom();
    void SetEncoding(TextEncoding encoding);
    void SetTheme(Theme theme);
    void SetLanguage(Language language);
    void ShowDataInspector(bool visible);
    void ShowStructView(bool visible);
    void SaveSettingsNow();

    // Commands on the selection and the caret (AppSelection.cpp).
    void FillSelection();
    void InsertBytes();
    void SaveSelectionAs();
    void ShowChecksums();  // AppChecksums.cpp
    // The hexadecimal pattern prompt; nothing after Cancel or a refused text (shown).
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> PromptForPattern(std::string_view titleKey);
    [[nodiscard]] bool ConfirmLargeCopy();
    void ShowContextMenu(HWND source, LPARAM lParam);

    // Dialog commands (AppDialogs.cpp).
    void GoToOffset();
    void ShowFontDialog();
    void ShowAboutDialog();

    // Progress during long operations (AppProgress.cpp). Saving and searching run on this
    // thread; their callbacks show the percentage in the status bar and pump messages so that
    // the window repaints. The search command calls BeginSearchProgress before its scan and
    // EndSearchProgress after it, and hands the scan OnSearchProgress and CheckSearchCancel.
    void PumpMessages();
    void OnSaveProgress(std::size_t done, std::size_t total);
    void BeginSearchProgress();
    void OnSearchProgress(std::size_t done, std::size_t total);
    // Other work on this thread (checksums, saving the selection) shows its percentage where
    // a search does, under label; EndSearchProgress ends it.
    void BeginWorkProgress(std::string_view label);
    void OnWorkProgress(std::size_t done, std::size_t total);
    void EndSearchProgress();
    // The search's cancel check: true while the scan may go on. cancelRequested is the search
    // dialog's cancel-requested flag, or null when no dialog is known. Escape held down sets
    // it; so does the dialog's Close button or close box, whose clicks arrive through the pump.
    // The flag must outlive the scan (the dialog's state lives on the stack below it).
    [[nodiscard]] bool CheckSearchCancel(bool* cancelRequested);
    void ReportProgress(ProgressThrottle& throttle, std::u16string& text, std::string_view label, std::size_t done,
                        std::size_t total);
    void ShowProgress();

    // Find and replace (AppSearch.cpp). FindNext and ShowReplaceDialog run the dialog;
    // SearchCommand and ReplaceCommand are the bodies of its callback, with the text encoding
    // captured when the dialog opened. The last query taken is the active one: F3 and
    // Shift+F3 search for it again, and the hex view marks its matches.
    [[nodiscard]] SearchDialogTexts SearchTexts(bool replace);
    void FindNext();
    void ShowReplaceDialog();
    void SearchAgain(SearchDirection direction);
    void SearchCommand(const SearchDialogResult& request, SearchDirection direction, HWND dialog,
                       TextEncoding encoding);
    void ReplaceCommand(const SearchDialogResult& request, HWND dialog, TextEncoding encoding);
    // Converts the query (a refusal is shown over dialog) and makes it the active query, which
    // RecordQuery then adds to the history (and to the dialog's list).
    [[nodiscard]] std::optional<SearchPattern> TakeQuery(const SearchDialogResult& request, HWND dialog,
                                                         TextEncoding encoding);
    void RecordQuery(HWND dialog);
    // Scans from the caret or the selection and selects the match; "not found" is shown over
    // messageOwner. cancelRequested as for CheckSearchCancel.
    bool SearchAndSelect(const SearchPattern& pattern, SearchDirection direction, HWND messageOwner,
                         bool* cancelRequested);
    void AddSearchHistory(std::u16string_view kind, std::u16string_view query);

    // Side windows (AppSideWindows.cpp): docking, and the Data Inspector's values from the
    // inspector worker.
    void PositionInspectorWindow();
    [[nodiscard]] bool EnsureInspectorWindow();
    void RequestInspectorValues();
    // Runs on the inspector worker's thread.
    [[nodiscard]] bool PostInspectorResult(InspectorWorker::Result* result);
    void OnInspectorResult(LPARAM lParam);
    void OnInspectorClosed();
    void PositionStructViewWindow();
    [[nodiscard]] bool EnsureStructViewWindow();
    void OnStructViewClosed();

    // The struct pattern of the Struct View and its rows from the struct worker
    // (AppStructView.cpp).
    void ChooseStructPatternFile();
    bool LoadStructPattern(const std::u16string& path);
    void ReloadStructPattern();
    void UnloadStructPattern();
    void RefreshStructViewTexts();
    void ShowStructViewWithoutPattern();
    void RequestStructValues();
    // Runs on the struct worker's thread.
    [[nodiscard]] bool PostStructResult(StructWorker::Result* result);
    void OnStructResult(LPARAM lParam);
    void ChangeStructFormat(WPARAM choice);
    [[nodiscard]] StructValueFormat SettingsValueFormat() const;
    [[nodiscard]] bool StructViewIsActive() const;
    void ActivateStructView();

    // Status bar (AppStatusBar.cpp).
    void RefreshStatusBar();
    void ColorStatusBar();
    LRESULT DrawStatusBar(const DRAWITEMSTRUCT& item);
    void FlashReadOnlyNotice();
    void EndFlash();

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND statusBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HMENU menuBar_ = nullptr;
    std::u16string statusText_;
    bool flashActive_ = false;
    std::u16string flashText_;
    bool saving_ = false;  // the status bar shows savingText_
    bool busy_ = false;    // every menu item is grayed and WM_CLOSE is ignored
    std::u16string savingText_;
    ProgressThrottle saveProgress_;
    bool searching_ = false;  // the status bar shows searchingText_
    std::u16string searchingText_;
    ProgressThrottle searchProgress_;
    std::string_view workLabel_;  // a string table key, static
    std::optional<SearchPattern> activeQuery_;
    struct HistoryEntry {
        SearchQueryKind kind;
        std::u16string query;
    };
    std::optional<HistoryEntry> pendingHistory_;
    StringTable strings_;
    AppSettings settings_;
    EditableDocument document_;
    DataInspectorWindow inspector_;
    StructViewWindow structView_;
    HexViewWindow hexView_;
    std::optional<std::u16string> pendingPath_;
    bool reloadDeclined_ = false;  // for the file open now: the change on disk was seen and kept
    bool reloadAsking_ = false;
    std::u16string settingsPath_;
    // The loaded struct pattern (null when none), where it came from, and what the view shows
    // of it; after a failed load the path, name and error stay so that Reload can try again.
    std::shared_ptr<const StructPatternFile> structPattern_;
    std::u16string structPatternPath_;
    std::u16string structPatternName_;
    std::u16string structPatternSummary_;
    std::u16string structPatternError_;
    // Last, so that they stop before anything they reach goes away.
    InspectorWorker inspectorWorker_{[this](InspectorWorker::Result* result) { return PostInspectorResult(result); }};
    StructWorker structWorker_{[this](StructWorker::Result* result) { return PostStructResult(result); }};
};

}  // namespace tvx
