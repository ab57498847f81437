#include "app/win32/PromptDialog.h"

#include "app/win32/DialogSupport.h"

namespace tvx {
namespace {

constexpr wchar_t kClassName[] = L"Tavro.PromptDialog";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kWidth = 360;  // outer size
constexpr int kHeight = 132;
constexpr int kIdPrompt = 3001;
constexpr int kIdEdit = 3002;

struct PromptState {
    HWND owner = nullptr;
    std::u16string prompt, initial, result;
    bool accepted = false;
    bool done = false;
    HWND edit = nullptr;
};

// The controls keep the system's default font.
void CreateControls(HWND window, PromptState& state) {
    AddControl(window, 0, L"STATIC", state.prompt, 0, {12, 12, 348, 32}, kIdPrompt, false);
    state.edit = AddControl(window, WS_EX_CLIENTEDGE, L"EDIT", state.initial, WS_TABSTOP | ES_AUTOHSCROLL,
                            {12, 38, 348, 62}, kIdEdit, false);
    AddControl(window, 0, L"BUTTON", u"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {164, 90, 252, 116}, IDOK, false);
    AddControl(window, 0, L"BUTTON", u"Cancel", WS_TABSTOP, {260, 90, 348, 116}, IDCANCEL, false);
    if (state.edit) {
        SendMessageW(state.edit, EM_SETSEL, 0, -1);
        SetFocus(state.edit);
    }
}

LRESULT CALLBACK PromptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PromptState* state = BindDialogState<PromptState>(window, message, lParam);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    if (HandleDialogEnd(state->owner, window, state->done, message, wParam)) return 0;
    switch (message) {
        case WM_CREATE: CreateControls(window, *state); return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                state->result = state->edit ? WindowText(state->edit) : std::u16string();
                state->accepted = true;
                FinishDialog(state->owner, window, state->done);
            }
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

std::optional<std::u16string> ShowPromptDialog(HWND owner, HINSTANCE instance, const std::u16string& title,
                                               const std::u16string& prompt, const std::u16string& initial) {
    PromptState state;
    state.owner = owner;
    state.prompt = prompt;
    state.initial = initial;
    HWND dialog = CreateDialogWindow(owner, instance, kClassName, PromptProc, title, kStyle, kExStyle,
                                     {kWidth, kHeight}, &state);
    if (!dialog) return std::nullopt;
    RunModalLoop(owner, dialog, state.done);
    if (!state.accepted) return std::nullopt;
    return state.result;
}

}  // namespace tvx
