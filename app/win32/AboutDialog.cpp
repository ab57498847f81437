#include "app/win32/AboutDialog.h"

#include "app/win32/DialogSupport.h"
#include "localization/AboutText.h"

#include <shellapi.h>

namespace tvx {
namespace {

constexpr wchar_t kClassName[] = L"Tavro.AboutDialog";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kClientWidth = 520;
constexpr int kClientHeight = 460;
constexpr COLORREF kLinkColor = RGB(0, 102, 204);
constexpr char16_t kVersion[] = u"v1.02";

constexpr int kIdProduct = 3201;
constexpr int kIdVersion = 3202;
constexpr int kIdRights = 3203;
constexpr int kIdHomepageLabel = 3204;
constexpr int kIdLink = 3205;
constexpr int kIdLicenseHeading = 3206;
constexpr int kIdLicense = 3207;

struct AboutState {
    HWND owner = nullptr;
    const AboutDialogTexts* texts = nullptr;
    bool done = false;
    HWND link = nullptr;
};

void CreateControls(HWND window, AboutState& state) {
    const AboutDialogTexts& texts = *state.texts;
    const auto line = [&](const std::u16string& text, DWORD style, int top, int height, int id) {
        return AddControl(window, 0, L"STATIC", text, style, {12, top, 508, top + height}, id, true);
    };
    line(std::u16string(kProductLine), 0, 12, 22, kIdProduct);
    line(texts.versionLabel + u" " + kVersion, 0, 38, 22, kIdVersion);
    line(std::u16string(kRightsNotice), 0, 64, 22, kIdRights);
    line(texts.homepageLabel, 0, 94, 22, kIdHomepageLabel);
    state.link = line(std::u16string(kHomepageAddress), WS_TABSTOP | SS_NOTIFY, 120, 24, kIdLink);
    line(texts.licenseHeading, 0, 152, 22, kIdLicenseHeading);
    HWND license = AddControl(window, WS_EX_CLIENTEDGE, L"EDIT", std::u16string(kLicenseText),
                              WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, {12, 176, 508, 396},
                              kIdLicense, true);
    HWND close = AddControl(window, 0, L"BUTTON", texts.close, WS_TABSTOP | BS_DEFPUSHBUTTON, {412, 406, 508, 434},
                            IDOK, true);
    if (license) SendMessageW(license, EM_SETSEL, 0, 0);
    if (close) SetFocus(close);
}

void OpenHomepage(HWND window) {
    const std::u16string address(kHomepageAddress);
    // A browser that cannot be started leaves nothing to do.
    ShellExecuteW(window, L"open", Wide(address), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AboutState* state = BindDialogState<AboutState>(window, message, lParam);
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    if (HandleDialogEnd(state->owner, window, state->done, message, wParam)) return 0;
    switch (message) {
        case WM_CREATE: CreateControls(window, *state); return 0;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != state->link) break;
            SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColor);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        case WM_SETCURSOR: {
            POINT cursor{};
            if (!GetCursorPos(&cursor) || WindowFromPoint(cursor) != state->link) break;
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdLink && HIWORD(wParam) == STN_CLICKED)
                OpenHomepage(window);
            else if (LOWORD(wParam) == IDOK)  // Close and Enter; Esc comes as Cancel
                FinishDialog(state->owner, window, state->done);
            return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RunAboutDialog(HWND owner, HINSTANCE instance, const AboutDialogTexts& texts) {
    AboutState state;
    state.owner = owner;
    state.texts = &texts;
    HWND dialog = CreateDialogWindow(owner, instance, kClassName, AboutProc, texts.title, kStyle, kExStyle,
                                     OuterSize(kClientWidth, kClientHeight, kStyle, kExStyle), &state);
    if (!dialog) return;
    RunModalLoop(owner, dialog, state.done);
}

}  // namespace tvx
