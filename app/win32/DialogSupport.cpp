#include "app/win32/DialogSupport.h"

#include <algorithm>

namespace tvx {

bool RegisterDialogClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

POINT CenteredOver(HWND owner, int width, int height) {
    RECT area{};
    GetWindowRect(owner, &area);
    return {area.left + std::max(0, static_cast<int>(area.right - area.left - width) / 2),
            area.top + std::max(0, static_cast<int>(area.bottom - area.top - height) / 2)};
}

SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

HWND AddControl(HWND dialog, DWORD exStyle, const wchar_t* className, const std::u16string& text, DWORD style,
                RECT bounds, int id, bool guiFont) {
    HWND control = CreateWindowExW(exStyle, className, Wide(text), WS_CHILD | WS_VISIBLE | style, bounds.left,
                                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (control && guiFont)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

std::u16string WindowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthW(window))), u'\0');
    const int copied =
        GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, static_cast<int>(text.size()))));
    return text;
}

void RunModalLoop(HWND owner, HWND dialog, const bool& done, const std::function<void()>& afterEachMessage) {
    EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    MSG msg;
    while (!done) {
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must see it too
            break;
        }
        if (result < 0) break;
        if (!IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!done && afterEachMessage) afterEachMessage();
    }
    // After a quit request the dialog is still there; its state, on the caller's stack, is not
    // for much longer.
    if (IsWindow(dialog)) CloseDialog(owner, dialog);
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    SetForegroundWindow(owner);
    SetFocus(owner);
}

void CloseDialog(HWND owner, HWND dialog) {
    EnableWindow(owner, TRUE);
    DestroyWindow(dialog);
}

HWND CreateDialogWindow(HWND owner, HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                        const std::u16string& title, DWORD style, DWORD exStyle, SIZE outer, void* state) {
    if (!RegisterDialogClass(instance, className, procedure)) return nullptr;
    const POINT position = CenteredOver(owner, outer.cx, outer.cy);
    return CreateWindowExW(exStyle, className, Wide(title), style, position.x, position.y, outer.cx, outer.cy, owner,
                           nullptr, instance, state);
}

bool HandleDialogEnd(HWND owner, HWND dialog, bool& done, UINT message, WPARAM wParam) {
    if (message == WM_DESTROY) {
        done = true;
        return true;
    }
    if (message != WM_CLOSE && !(message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) return false;
    FinishDialog(owner, dialog, done);
    return true;
}

void FinishDialog(HWND owner, HWND dialog, bool& done) {
    done = true;
    CloseDialog(owner, dialog);
}

}  // namespace tvx
