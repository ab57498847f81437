#include "hexview/win32/HexViewWindow.h"

#include "hexview/HexViewMessages.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace tvx {
namespace {

constexpr wchar_t kClassName[] = L"Tavro.HexView";
constexpr UINT_PTR kBlinkTimer = 1;

HexKey KeyFromVirtualKey(WPARAM key) {
    switch (key) {
        case VK_LEFT: return HexKey::Left;
        case VK_RIGHT: return HexKey::Right;
        case VK_UP: return HexKey::Up;
        case VK_DOWN: return HexKey::Down;
        case VK_PRIOR: return HexKey::PageUp;
        case VK_NEXT: return HexKey::PageDown;
        case VK_HOME: return HexKey::Home;
        case VK_END: return HexKey::End;
        case VK_ESCAPE: return HexKey::Escape;
        case VK_INSERT: return HexKey::Insert;
        case VK_DELETE: return HexKey::Delete;
        case VK_BACK: return HexKey::Backspace;
        case VK_TAB: return HexKey::Tab;
        case 'A': return HexKey::A;
        case 'C': return HexKey::C;
        case 'V': return HexKey::V;
        case 'X': return HexKey::X;
        case 'Y': return HexKey::Y;
        case 'Z': return HexKey::Z;
        default: return HexKey::Other;
    }
}

ScrollRequest RequestFromCode(WORD code) {
    switch (code) {
        case SB_LINEUP: return ScrollRequest::LineBack;  // also SB_LINELEFT
        case SB_LINEDOWN: return ScrollRequest::LineForward;
        case SB_PAGEUP: return ScrollRequest::PageBack;
        case SB_PAGEDOWN: return ScrollRequest::PageForward;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: return ScrollRequest::Track;
        case SB_TOP: return ScrollRequest::Start;
        case SB_BOTTOM: return ScrollRequest::End;
        default: return ScrollRequest::Other;
    }
}

bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }
bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

int TrackPosition(HWND window, int bar) {
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window, bar, &info);
    return info.nTrackPos;
}

}  // namespace

bool HexViewWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
}

HWND HexViewWindow::Create(HWND parent, HINSTANCE instance) {
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100,
                           100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHexViewControlId)), instance, this);
}

LRESULT CALLBACK HexViewWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<HexViewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HexViewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HexViewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: renderer_.Paint(window_, view_); return 0;
        case WM_SIZE: view_.Resized(); return 0;
        case WM_VSCROLL:
            view_.ScrollVertically(RequestFromCode(LOWORD(wParam)), TrackPosition(window_, SB_VERT));
            return 0;
        case WM_HSCROLL:
            view_.ScrollHorizontally(RequestFromCode(LOWORD(wParam)), TrackPosition(window_, SB_HORZ));
            return 0;
        case WM_MOUSEWHEEL: view_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam), CtrlDown()); return 0;
        case WM_DPICHANGED: view_.SetDpi(HIWORD(wParam)); return 0;
        case WM_KEYDOWN:
            if (view_.KeyDown(KeyFromVirtualKey(wParam), CtrlDown(), ShiftDown())) return 0;
            break;
        case WM_CHAR:
            if (view_.Char(static_cast<char16_t>(wParam))) return 0;
            break;
        case WM_TIMER:
            if (wParam != kBlinkTimer) break;
            view_.BlinkTick();
            return 0;
        case WM_SETFOCUS: view_.FocusGained(); return 0;
        case WM_KILLFOCUS: view_.FocusLost(); return 0;
        case WM_LBUTTONDOWN:
            view_.MouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEMOVE: view_.MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
        case WM_LBUTTONUP: view_.MouseUp(); return 0;
        case WM_CAPTURECHANGED: view_.CaptureLost(); return 0;
        case WM_NCDESTROY: renderer_.ReleaseDeviceResources(); break;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// --- host ----------------------------------------------------------------------------------

std::int32_t HexViewWindow::ClientWidth() const {
    RECT r{};
    if (window_) GetClientRect(window_, &r);
    return r.right - r.left;
}

std::int32_t HexViewWindow::ClientHeight() const {
    RECT r{};
    if (window_) GetClientRect(window_, &r);
    return r.bottom - r.top;
}

std::uint32_t HexViewWindow::WindowDpi() const { return window_ ? GetDpiForWindow(window_) : 96; }

void HexViewWindow::Invalidate() {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void HexViewWindow::ReleaseDeviceResources() { renderer_.ReleaseDeviceResources(); }

void HexViewWindow::SetScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) {
    if (!window_) return;
    SCROLLINFO v{sizeof(v), SIF_RANGE | SIF_PAGE | SIF_POS, 0, vertical.max, static_cast<UINT>(vertical.page),
                 vertical.pos, 0};
    SetScrollInfo(window_, SB_VERT, &v, TRUE);
    SCROLLINFO h{sizeof(h), SIF_RANGE | SIF_PAGE | SIF_POS, 0, horizontal.max, static_cast<UINT>(horizontal.page),
                 horizontal.pos, 0};
    SetScrollInfo(window_, SB_HORZ, &h, TRUE);
}

void HexViewWindow::TakeFocus() {
    if (window_) SetFocus(window_);
}

void HexViewWindow::CaptureMouse() { SetCapture(window_); }
void HexViewWindow::ReleaseMouse() { ReleaseCapture(); }

void HexViewWindow::StartBlinkTimer() {
    SetTimer(window_, kBlinkTimer, std::max<UINT>(GetCaretBlinkTime(), 200), nullptr);
}

void HexViewWindow::StopBlinkTimer() {
    if (window_) KillTimer(window_, kBlinkTimer);
}

void HexViewWindow::CopyToClipboard(const std::u16string& text) {
    if (!OpenClipboard(window_)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block) {
        void* data = GlobalLock(block);
        bool handedOver = false;
        if (data) {
            std::memcpy(data, text.c_str(), bytes);
            GlobalUnlock(block);
            handedOver = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!handedOver) GlobalFree(block);
    }
    CloseClipboard();
}

bool HexViewWindow::ConfirmLargeCopy(std::uint64_t bytes) {
    return window_ && SendMessageW(GetParent(window_), WM_APP + kAppConfirmLargeCopy, static_cast<WPARAM>(bytes), 0) == 1;
}

void HexViewWindow::PostCopyFailed() {
    if (window_) PostMessageW(GetParent(window_), WM_APP + kAppCopyFailed, 0, 0);
}

std::optional<std::u16string> HexViewWindow::ClipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(window_)) return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        const auto* data = static_cast<const char16_t*>(GlobalLock(block));
        if (data) {
            // Up to the terminator, within the block's size.
            const std::size_t units = GlobalSize(block) / sizeof(char16_t);
            std::size_t length = 0;
            while (length < units && data[length] != 0) ++length;
            text.emplace(data, length);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

void HexViewWindow::PostDocumentChanged() {
    if (window_) PostMessageW(GetParent(window_), WM_APP + kAppDocumentChanged, 0, 0);
}

void HexViewWindow::PostReadOnlyBlocked() {
    if (window_) PostMessageW(GetParent(window_), WM_APP + kAppReadOnlyBlocked, 0, 0);
}

void HexViewWindow::PostPasteRefused(PasteRefusal reason) {
    if (window_) PostMessageW(GetParent(window_), WM_APP + kAppPasteRefused, static_cast<WPARAM>(reason), 0);
}

void HexViewWindow::SendViewStatusChanged() {
    if (window_) SendMessageW(GetParent(window_), WM_APP + kAppViewStatusChanged, 0, 0);
}

}  // namespace tvx
