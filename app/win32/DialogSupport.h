#pragma once
// What the modal popup dialogs (prompt, font, about) share: their window class, placement
// over the owner, child controls, and the local loop that runs while the owner is disabled.
// Each dialog keeps its state on the caller's stack, bound to the window through
// GWLP_USERDATA on WM_NCCREATE. User-interface thread only.

#include "platform/win32/WideText.h"

#include <windows.h>

#include <functional>
#include <string>

namespace tvx {

// A dialog class with the arrow cursor and the window colour; true when it exists now.
[[nodiscard]] bool RegisterDialogClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure);

// The top-left corner that centres a window of this outer size over the owner's window
// rectangle, never left of or above the owner's own corner.
[[nodiscard]] POINT CenteredOver(HWND owner, int width, int height);

// The outer size of a popup without menu whose client area has this size.
[[nodiscard]] SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

// A visible child control with the given id, style bits added to WS_CHILD | WS_VISIBLE. With
// guiFont it takes the system's dialog font, else it keeps the default font.
HWND AddControl(HWND dialog, DWORD exStyle, const wchar_t* className, const std::u16string& text, DWORD style,
                RECT bounds, int id, bool guiFont);

[[nodiscard]] std::u16string WindowText(HWND window);

// Disables the owner, shows the dialog and dispatches messages until done is set (or a quit
// request arrives, which is put back for the main loop and closes the dialog), calling
// afterEachMessage, when given, after each one while not done; then enables the owner again
// and makes it the active, foreground and focused window.
void RunModalLoop(HWND owner, HWND dialog, const bool& done, const std::function<void()>& afterEachMessage = {});

// Registers the class if needed and creates the popup of this outer size centred over the
// owner, with state as its creation parameter; null when either fails.
[[nodiscard]] HWND CreateDialogWindow(HWND owner, HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                                      const std::u16string& title, DWORD style, DWORD exStyle, SIZE outer,
                                      void* state);

// The ends every modal dialog shares: Cancel (also Esc through IsDialogMessageW) and the close
// box set done and close the dialog; WM_DESTROY sets done. True when message was one of them.
bool HandleDialogEnd(HWND owner, HWND dialog, bool& done, UINT message, WPARAM wParam);

// Sets done and closes the dialog, as OK does once its work is done.
void FinishDialog(HWND owner, HWND dialog, bool& done);

// Enables the owner before the dialog goes, so that it, not another program, becomes the
// active window; then destroys the dialog.
void CloseDialog(HWND owner, HWND dialog);

// The state bound to a dialog window: taken from the creation parameters on WM_NCCREATE, from
// GWLP_USERDATA afterwards; null before.
template <class State>
State* BindDialogState(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* state = static_cast<State*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        return state;
    }
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace tvx
