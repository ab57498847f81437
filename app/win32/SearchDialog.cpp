#include "app/win32/SearchDialog.h"

#include "app/win32/DialogSupport.h"
#include "search/SearchHistory.h"

#include <cwchar>

namespace tvx {
namespace {

constexpr wchar_t kSearchDialogClass[] = L"Tavro.SearchDialog";
constexpr DWORD kSearchDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kSearchDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kSearchDialogWidth = 420;
constexpr int kSearchDialogHeight = 176;
constexpr int kReplaceRowsHeight = 54;  // the replacement's label and field

constexpr int kIdTypeLabel = 3101;
constexpr int kIdTypeList = 3102;
constexpr int kIdQueryLabel = 3103;
constexpr int kIdQueryBox = 3104;
constexpr int kIdPrevious = 3105;
constexpr int kIdReplaceLabel = 3106;
constexpr int kIdReplaceEdit = 3107;
constexpr int kIdReplace = 3108;
constexpr int kIdReplaceAll = 3109;

bool IsReplaceDialog(const SearchDialogState& state) { return !state.texts.replaceAll.empty(); }

HWND MakeControl(const SearchDialogState& state, DWORD exStyle, const wchar_t* className, const std::u16string& text,
                 DWORD style, RECT bounds, int id) {
    return AddControl(state.window, exStyle, className, text, style, bounds, id, true);
}

bool TextTypeChosen(const SearchDialogState& state) {
    return SendMessageW(state.typeList, CB_GETCURSEL, 0, 0) == 1;
}

void CollectQuery(SearchDialogState& state) {
    HWND source = state.queryEdit ? state.queryEdit : state.queryBox;
    state.collectedQuery = source ? WindowText(source) : std::u16string();
    state.collectedKind = state.typeList && TextTypeChosen(state) ? SearchQueryKind::Text : SearchQueryKind::Hex;
    state.collectedReplacement = state.replaceEdit ? WindowText(state.replaceEdit) : std::u16string();
}

// The drop-down list shows the earlier queries of the chosen kind; the typed text stays.
void FillHistoryList(SearchDialogState& state) {
    if (!state.typeList || !state.queryBox) return;
    const std::u16string typed = WindowText(state.queryEdit ? state.queryEdit : state.queryBox);
    SendMessageW(state.queryBox, CB_RESETCONTENT, 0, 0);
    const std::u16string_view kind = TextTypeChosen(state) ? u"text" : u"hex";
    for (const std::u16string& query : SearchHistoryQueries(state.history, kind))
        SendMessageW(state.queryBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(query)));
    SetWindowTextW(state.queryBox, Wide(typed));
    if (state.queryEdit) SendMessageW(state.queryEdit, EM_SETSEL, 0, -1);
}

void SetLengthLimit(SearchDialogState& state) {
    if (!state.typeList || !state.queryBox) return;
    const std::size_t limit = TextTypeChosen(state) ? state.textLimit : kMaxHexQueryLength;
    SendMessageW(state.queryBox, CB_LIMITTEXT, limit, 0);
    if (state.queryEdit) SendMessageW(state.queryEdit, EM_LIMITTEXT, limit, 0);
    if (state.replaceEdit) SendMessageW(state.replaceEdit, EM_LIMITTEXT, limit, 0);
}

void CreateControls(SearchDialogState& state) {
    MakeControl(state, 0, L"STATIC", state.texts.typeLabel, 0, {12, 12, 408, 32}, kIdTypeLabel);
    state.typeList = MakeControl(state, 0, L"COMBOBOX", u"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                                 {12, 36, 408, 276}, kIdTypeList);
    MakeControl(state, 0, L"STATIC", state.texts.queryLabel, 0, {12, 66, 408, 86}, kIdQueryLabel);
    state.queryBox = MakeControl(state, WS_EX_CLIENTEDGE, L"COMBOBOX", u"",
                                 CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, {12, 90, 408, 310},
                                 kIdQueryBox);
    if (IsReplaceDialog(state)) {
        MakeControl(state, 0, L"STATIC", state.texts.replaceLabel, 0, {12, 120, 408, 140}, kIdReplaceLabel);
        state.replaceEdit = MakeControl(state, WS_EX_CLIENTEDGE, L"EDIT", u"", ES_AUTOHSCROLL | WS_TABSTOP,
                                        {12, 144, 408, 168}, kIdReplaceEdit);
        constexpr int top = 134 + kReplaceRowsHeight, bottom = 160 + kReplaceRowsHeight;
        state.nextButton = MakeControl(state, 0, L"BUTTON", state.texts.next, BS_DEFPUSHBUTTON | WS_TABSTOP,
                                       {32, top, 120, bottom}, IDOK);
        state.replaceButton = MakeControl(state, 0, L"BUTTON", state.texts.replace, BS_PUSHBUTTON | WS_TABSTOP,
                                          {128, top, 216, bottom}, kIdReplace);
        state.replaceAllButton = MakeControl(state, 0, L"BUTTON", state.texts.replaceAll,
                                             BS_PUSHBUTTON | WS_TABSTOP, {224, top, 312, bottom}, kIdReplaceAll);
        state.closeButton = MakeControl(state, 0, L"BUTTON", state.texts.close, BS_PUSHBUTTON | WS_TABSTOP,
                                        {320, top, 408, bottom}, IDCANCEL);
    } else {
        state.previousButton = MakeControl(state, 0, L"BUTTON", state.texts.previous, BS_PUSHBUTTON | WS_TABSTOP,
                                           {128, 134, 216, 160}, kIdPrevious);
        state.nextButton = MakeControl(state, 0, L"BUTTON", state.texts.next, BS_DEFPUSHBUTTON | WS_TABSTOP,
                                       {224, 134, 312, 160}, IDOK);
        state.closeButton = MakeControl(state, 0, L"BUTTON", state.texts.close, BS_PUSHBUTTON | WS_TABSTOP,
                                        {320, 134, 408, 160}, IDCANCEL);
    }

    if (state.typeList) {
        SendMessageW(state.typeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(state.texts.hexType)));
        SendMessageW(state.typeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(state.texts.textType)));
        SendMessageW(state.typeList, CB_SETCURSEL, state.initialKind == SearchQueryKind::Text ? 1 : 0, 0);
    }
    if (state.queryBox) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(state.queryBox, &info)) state.queryEdit = info.hwndItem;
        SetWindowTextW(state.queryBox, Wide(state.initialQuery));
    }
    FillHistoryList(state);  // also selects the whole query
    SetLengthLimit(state);
    state.lastFocus = state.queryBox;
    if (state.queryBox) SetFocus(state.queryBox);
}

void EnableQueryControls(const SearchDialogState& state, bool enable) {
    for (HWND control : {state.typeList, state.queryBox, state.previousButton, state.nextButton, state.replaceEdit,
                         state.replaceButton, state.replaceAllButton})
        if (control) EnableWindow(control, enable);
}

// Closing while a search runs only asks the search to stop; the dialog stays.
void CloseOrCancel(SearchDialogState& state) {
    if (state.searching) {
        state.cancelRequested = true;
        return;
    }
    state.closed = true;
    CloseDialog(state.owner, state.window);
}

LRESULT OnCommand(SearchDialogState& state, WORD id, WORD code) {
    switch (id) {
        case IDCANCEL: CloseOrCancel(state); return 0;
        case IDOK:
        case kIdPrevious:
        case kIdReplace:
        case kIdReplaceAll:
            if (state.searching) return 0;
            CollectQuery(state);
            state.pending = id == kIdPrevious ? SearchDirection::Previous : SearchDirection::Next;
            state.pendingAction = id == kIdReplace      ? SearchDialogResult::Action::Replace
                                  : id == kIdReplaceAll ? SearchDialogResult::Action::ReplaceAll
                                                        : SearchDialogResult::Action::Find;
            return 0;
        case kIdQueryBox:
            if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) CollectQuery(state);
            return 0;
        case kIdTypeList:
            if (code == CBN_SELCHANGE) {
                FillHistoryList(state);
                SetLengthLimit(state);
            }
            return 0;
        default: return 0;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SearchDialogState* state = BindDialogState<SearchDialogState>(window, message, lParam);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE) state->window = window;
    switch (message) {
        case WM_CREATE: CreateControls(*state); return 0;
        case WM_CLOSE: CloseOrCancel(*state); return 0;
        case WM_KEYDOWN:
            if (wParam != VK_ESCAPE) break;
            CloseOrCancel(*state);
            return 0;
        case WM_COMMAND: return OnCommand(*state, LOWORD(wParam), HIWORD(wParam));
        case WM_ACTIVATE:
            // Focus goes back to the control that had it, as in a dialog box, rather than to
            // the dialog window itself (after a message box, for instance).
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window, focus)) state->lastFocus = focus;
            } else if (state->lastFocus && IsWindow(state->lastFocus) && IsWindowEnabled(state->lastFocus)) {
                SetFocus(state->lastFocus);
                return 0;
            }
            break;
        case WM_DESTROY: state->closed = true; return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The search runs here, outside the window procedure, after the message that asked for it.
void RunPendingSearch(SearchDialogState& state) {
    const SearchDirection direction = state.pending;
    state.pending = SearchDirection::None;
    state.searching = true;
    state.cancelRequested = false;
    EnableQueryControls(state, false);
    // With the query box disabled a key would reach no window; on the dialog itself Escape
    // requests the cancel.
    SetFocus(state.window);
    state.result.kind = state.collectedKind;
    state.result.query = state.collectedQuery;
    state.result.replacement = state.collectedReplacement;
    state.result.action = state.pendingAction;
    if (state.callback) state.callback(state.result, direction, state.window);
    state.searching = false;
    EnableQueryControls(state, true);
    if (state.queryBox && IsWindow(state.queryBox)) {
        state.lastFocus = state.queryBox;
        SetFocus(state.queryBox);
    }
}

}  // namespace

void RunSearchDialog(HWND owner, HINSTANCE instance, const SearchDialogTexts& texts,
                     const std::u16string& initialQuery, const std::vector<SearchHistoryEntry>& history,
                     std::size_t textLimit, SearchDialogCallback callback) {
    if (!RegisterDialogClass(instance, kSearchDialogClass, WindowProc)) return;
    SearchDialogState state;
    state.owner = owner;
    state.instance = instance;
    state.texts = texts;
    state.initialQuery = initialQuery;
    state.history = history;
    state.textLimit = textLimit;
    state.callback = std::move(callback);

    const int height = kSearchDialogHeight + (texts.replaceAll.empty() ? 0 : kReplaceRowsHeight);
    const SIZE size = OuterSize(kSearchDialogWidth, height, kSearchDialogStyle, kSearchDialogExStyle);
    const POINT position = CenteredOver(owner, size.cx, size.cy);
    if (!CreateWindowExW(kSearchDialogExStyle, kSearchDialogClass, Wide(texts.title), kSearchDialogStyle, position.x, position.y, size.cx, size.cy,
                         owner, nullptr, instance, &state))
        return;
    RunModalLoop(owner, state.window, state.closed, [&state] {
        if (state.pending != SearchDirection::None) RunPendingSearch(state);
    });
}

SearchDialogState* SearchDialogStateOf(HWND dialog) {
    wchar_t className[64] = {};
    if (!dialog || !GetClassNameW(dialog, className, 64) || std::wcscmp(className, kSearchDialogClass) != 0) return nullptr;
    return reinterpret_cast<SearchDialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

void SetSearchDialogHistory(SearchDialogState& state, const std::vector<SearchHistoryEntry>& history) {
    state.history = history;
    FillHistoryList(state);
}

}  // namespace tvx
