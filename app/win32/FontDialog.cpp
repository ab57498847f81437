#include "app/win32/FontDialog.h"

#include "app/FontChoice.h"
#include "app/win32/DialogSupport.h"

#include <algorithm>
#include <cwchar>

namespace tvx {
namespace {

constexpr wchar_t kFontDialogClass[] = L"Tavro.FontDialog";
constexpr DWORD kFontDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
constexpr DWORD kFontDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kFontDialogWidth = 620;
constexpr int kFontDialogHeight = 320;
constexpr LONG kMinTrackWidth = 500;
constexpr LONG kMinTrackHeight = 220;

constexpr int kIdFamilyLabel = 3301;
constexpr int kIdFamilyList = 3302;
constexpr int kIdSizeLabel = 3303;
constexpr int kIdSizeList = 3304;
constexpr int kIdBold = 3305;
constexpr int kIdItalic = 3306;

struct FontDialogState {
    HWND owner = nullptr;
    const FontDialogTexts* texts = nullptr;
    const std::vector<std::u16string>* families = nullptr;
    FontSelection current;
    FontSelection chosen;
    bool accepted = false;
    bool done = false;
    HWND familyList = nullptr;
    HWND sizeList = nullptr;
    HWND boldBox = nullptr;
    HWND italicBox = nullptr;
    HWND okButton = nullptr;
    HWND cancelButton = nullptr;
};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD, LPARAM context) {
    // TMPF_FIXED_PITCH set means variable pitch, despite its name.
    reinterpret_cast<std::vector<ReportedFace>*>(context)->push_back(
        {reinterpret_cast<const char16_t*>(font->lfFaceName), (metrics->tmPitchAndFamily & TMPF_FIXED_PITCH) == 0});
    return 1;  // go on
}

// Only the family list's width and the two buttons follow the client size.
void PlaceControls(const FontDialogState& state, int width, int height) {
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(state.familyList, nullptr, 102, 12, std::max(260, width - 114), 240, flags);
    SetWindowPos(state.okButton, nullptr, width - 240, height - 38, 108, 26, flags);
    SetWindowPos(state.cancelButton, nullptr, width - 120, height - 38, 108, 26, flags);
}

void CreateControls(HWND window, FontDialogState& state) {
    const FontDialogTexts& texts = *state.texts;
    const DWORD list = WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
    const DWORD box = WS_TABSTOP | BS_AUTOCHECKBOX;
    AddControl(window, 0, L"STATIC", texts.family, 0, {12, 16, 102, 40}, kIdFamilyLabel, true);
    state.familyList = AddControl(window, 0, L"ComboBox", u"", list, {102, 12, 462, 252}, kIdFamilyList, true);
    AddControl(window, 0, L"STATIC", texts.size, 0, {12, 50, 102, 74}, kIdSizeLabel, true);
    state.sizeList = AddControl(window, 0, L"ComboBox", u"", list, {102, 46, 174, 266}, kIdSizeList, true);
    state.boldBox = AddControl(window, 0, L"BUTTON", texts.bold, box, {102, 84, 192, 108}, kIdBold, true);
    state.italicBox = AddControl(window, 0, L"BUTTON", texts.italic, box, {204, 84, 294, 108}, kIdItalic, true);
    state.okButton =
        AddControl(window, 0, L"BUTTON", texts.ok, WS_TABSTOP | BS_DEFPUSHBUTTON, {380, 282, 488, 308}, IDOK, true);
    state.cancelButton =
        AddControl(window, 0, L"BUTTON", texts.cancel, WS_TABSTOP, {500, 282, 608, 308}, IDCANCEL, true);

    for (const std::u16string& family : *state.families)
        SendMessageW(state.familyList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(family)));
    SendMessageW(state.familyList, CB_SETCURSEL, FamilyIndex(*state.families, state.current.family), 0);
    for (int size : kFontSizes)
        SendMessageW(state.sizeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(size).c_str()));
    SendMessageW(state.sizeList, CB_SETCURSEL, FontSizeIndex(state.current.points), 0);
    SendMessageW(state.boldBox, BM_SETCHECK, state.current.bold ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(state.italicBox, BM_SETCHECK, state.current.italic ? BST_CHECKED : BST_UNCHECKED, 0);
    SetFocus(state.familyList);
}

// Without a family selected OK does nothing and the dialog stays.
void Accept(HWND window, FontDialogState& state) {
    const LRESULT family = SendMessageW(state.familyList, CB_GETCURSEL, 0, 0);
    if (family < 0 || static_cast<std::size_t>(family) >= state.families->size()) return;
    state.chosen.family = (*state.families)[static_cast<std::size_t>(family)];
    const LRESULT size = SendMessageW(state.sizeList, CB_GETCURSEL, 0, 0);
    state.chosen.points =
        size < 0 || static_cast<std::size_t>(size) >= kFontSizes.size() ? 0.0f
                                                                        : static_cast<float>(kFontSizes[size]);
    state.chosen.bold = SendMessageW(state.boldBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.chosen.italic = SendMessageW(state.italicBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.accepted = true;
    FinishDialog(state.owner, window, state.done);
}

LRESULT CALLBACK FontDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FontDialogState* state = BindDialogState<FontDialogState>(window, message, lParam);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    if (HandleDialogEnd(state->owner, window, state->done, message, wParam)) return 0;
    switch (message) {
        case WM_CREATE: CreateControls(window, *state); return 0;
        case WM_SIZE: PlaceControls(*state, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) Accept(window, *state);
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

std::vector<std::u16string> InstalledFixedPitchFamilies() {
    std::vector<ReportedFace> faces;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;  // every face in every character set
    if (HDC screen = GetDC(nullptr)) {
        EnumFontFamiliesExW(screen, &all, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
        ReleaseDC(nullptr, screen);
    }
    return FixedPitchFamilies(faces);
}

std::optional<FontSelection> RunFontDialog(HWND owner, HINSTANCE instance, const FontDialogTexts& texts,
                                           const std::vector<std::u16string>& families,
                                           const FontSelection& current) {
    FontDialogState state;
    state.owner = owner;
    state.texts = &texts;
    state.families = &families;
    state.current = current;
    HWND dialog = CreateDialogWindow(owner, instance, kFontDialogClass, FontDialogProc, texts.title, kFontDialogStyle, kFontDialogExStyle,
                                     OuterSize(kFontDialogWidth, kFontDialogHeight, kFontDialogStyle, kFontDialogExStyle), &state);
    if (!dialog) return std::nullopt;
    RunModalLoop(owner, dialog, state.done);
    if (!state.accepted) return std::nullopt;
    return state.chosen;
}

}  // namespace tvx
