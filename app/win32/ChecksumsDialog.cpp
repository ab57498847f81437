#include "app/win32/ChecksumsDialog.h"

#include "app/win32/DialogSupport.h"

#include <cstring>

namespace tvx {
namespace {

constexpr wchar_t kChecksumsDialogClass[] = L"Tavro.ChecksumsDialog";
constexpr DWORD kChecksumsDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kChecksumsDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kChecksumsDialogWidth = 760;
constexpr int kRowHeight = 32;
constexpr int kFirstRowTop = 40;
constexpr int kIdRange = 3401;
constexpr int kIdFirstDigest = 3410;  // one per row
constexpr int kIdFirstCopy = 3430;    // one per row

struct ChecksumsState {
    HWND owner = nullptr;
    const ChecksumsDialogTexts* texts = nullptr;
    const std::vector<ChecksumRow>* rows = nullptr;
    bool done = false;
};

int ClientHeight(std::size_t rows) { return kFirstRowTop + static_cast<int>(rows) * kRowHeight + 48; }

void CopyToClipboard(HWND window, const std::u16string& text) {
    if (!OpenClipboard(window)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        bool handedOver = false;
        if (void* data = GlobalLock(block)) {
            std::memcpy(data, text.c_str(), bytes);
            GlobalUnlock(block);
            handedOver = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!handedOver) GlobalFree(block);
    }
    CloseClipboard();
}

void CreateControls(HWND window, const ChecksumsState& state) {
    AddControl(window, 0, L"STATIC", state.texts->range, 0, {12, 12, kChecksumsDialogWidth - 12, 32}, kIdRange, true);
    HWND firstCopy = nullptr;
    for (std::size_t i = 0; i < state.rows->size(); ++i) {
        const ChecksumRow& row = (*state.rows)[i];
        const int top = kFirstRowTop + static_cast<int>(i) * kRowHeight;
        const int id = static_cast<int>(i);
        AddControl(window, 0, L"STATIC", row.name, 0, {12, top + 4, 88, top + 26}, 0, true);
        AddControl(window, WS_EX_CLIENTEDGE, L"EDIT", row.digest, ES_READONLY | ES_AUTOHSCROLL,
                   {92, top, kChecksumsDialogWidth - 104, top + 26}, kIdFirstDigest + id, true);
        HWND copy = AddControl(window, 0, L"BUTTON", state.texts->copy, WS_TABSTOP,
                               {kChecksumsDialogWidth - 96, top, kChecksumsDialogWidth - 12, top + 26}, kIdFirstCopy + id, true);
        if (!firstCopy) firstCopy = copy;
    }
    const int bottom = ClientHeight(state.rows->size());
    HWND close = AddControl(window, 0, L"BUTTON", state.texts->close, WS_TABSTOP | BS_DEFPUSHBUTTON,
                            {kChecksumsDialogWidth - 108, bottom - 38, kChecksumsDialogWidth - 12, bottom - 10}, IDOK, true);
    SetFocus(firstCopy ? firstCopy : close);
}

LRESULT CALLBACK ChecksumsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ChecksumsState* state = BindDialogState<ChecksumsState>(window, message, lParam);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    if (HandleDialogEnd(state->owner, window, state->done, message, wParam)) return 0;
    switch (message) {
        case WM_CREATE: CreateControls(window, *state); return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int row = id - kIdFirstCopy;
            if (id == IDOK)
                FinishDialog(state->owner, window, state->done);
            else if (row >= 0 && static_cast<std::size_t>(row) < state->rows->size())
                CopyToClipboard(window, (*state->rows)[static_cast<std::size_t>(row)].digest);
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RunChecksumsDialog(HWND owner, HINSTANCE instance, const ChecksumsDialogTexts& texts,
                        const std::vector<ChecksumRow>& rows) {
    ChecksumsState state;
    state.owner = owner;
    state.texts = &texts;
    state.rows = &rows;
    HWND dialog = CreateDialogWindow(owner, instance, kChecksumsDialogClass, ChecksumsProc, texts.title, kChecksumsDialogStyle, kChecksumsDialogExStyle,
                                     OuterSize(kChecksumsDialogWidth, ClientHeight(rows.size()), kChecksumsDialogStyle, kChecksumsDialogExStyle), &state);
    if (!dialog) return;
    RunModalLoop(owner, dialog, state.done);
}

}  // namespace tvx
