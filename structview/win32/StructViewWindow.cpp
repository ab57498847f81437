#include "structview/win32/StructViewWindow.h"

#include "structview/StructViewMessages.h"
#include "platform/win32/WideText.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace tvx {
namespace {

constexpr wchar_t kClassName[] = L"Tavro.StructViewWindow";
// Control ids of the buttons, in the order of StructViewWindow::buttons_.
constexpr std::array<int, 4> kButtonIds{4101, 4104, 4103, 4102};
constexpr UINT_PTR kBoxSubclassId = 1;


void SetText(HWND control, const std::u16string& text) {
    if (control) SetWindowTextW(control, Wide(text));
}

}  // namespace

StructViewWindow::~StructViewWindow() { Destroy(); }

bool StructViewWindow::Create(HWND owner, HINSTANCE instance, const StructViewLabels& labels, Theme theme) {
    if (window_) return true;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    owner_ = owner;
    instance_ = instance;
    labels_ = labels;
    theme_ = theme;
    CreateWindowExW(0, kClassName, Wide(labels_.title),
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, CW_USEDEFAULT,
                    CW_USEDEFAULT, width_, kStructViewInitialHeight, owner, nullptr, instance, this);
    return window_ != nullptr;
}

void StructViewWindow::Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    DeleteFonts();
}

void StructViewWindow::SetLabels(const StructViewLabels& labels) {
    labels_ = labels;
    if (!window_) return;
    SetText(window_, labels_.title);
    RefreshChildTexts();
    Layout();
}

void StructViewWindow::SetTheme(Theme theme) {
    theme_ = theme;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void StructViewWindow::SetRows(std::u16string displayName, std::vector<StructViewRow> rows, std::u16string summary) {
    state_ = StructViewState::Loaded;
    displayName_ = std::move(displayName);
    rows_ = std::move(rows);
    summary_ = std::move(summary);
    message_.clear();
    if (selectedRow_ >= static_cast<int>(rows_.size())) selectedRow_ = static_cast<int>(rows_.size()) - 1;
    RefreshChildTexts();
    Layout();
}

void StructViewWindow::SetMessage(std::u16string text) {
    state_ = StructViewState::Message;
    displayName_.clear();
    rows_.clear();
    summary_.clear();
    message_ = std::move(text);
    selectedRow_ = -1;
    RefreshChildTexts();
    Layout();
}

void StructViewWindow::SetError(std::u16string displayName, std::u16string message) {
    state_ = StructViewState::Error;
    displayName_ = std::move(displayName);
    rows_.clear();
    summary_.clear();
    message_ = std::move(message);
    selectedRow_ = -1;
    RefreshChildTexts();
    Layout();
}

void StructViewWindow::Redraw() {
    if (window_) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
}

void StructViewWindow::PostToOwner(UINT offset, WPARAM wParam) const {
    PostMessageW(owner_, WM_APP + offset, wParam, 0);
}

SIZE StructViewWindow::ClientSize() const {
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// --- window procedure -----------------------------------------------------------------------

LRESULT CALLBACK StructViewWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<StructViewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        self->dpi_ = GetDpiForWindow(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<StructViewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

// Ctrl+A selects the whole text of a box; F5 reloads as it does in the view itself.
LRESULT CALLBACK StructViewWindow::BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    if (message == WM_KEYDOWN) {
        if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
            SendMessageW(box, EM_SETSEL, 0, -1);
            return 0;
        }
        if (wParam == VK_F5) {
            SendMessageW(reinterpret_cast<StructViewWindow*>(data)->window_, WM_KEYDOWN, wParam, lParam);
            return 0;
        }
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT StructViewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateChildren();
            CreateFonts();
            RefreshChildTexts();
            Layout();
            return 0;
        case WM_DESTROY:
            for (HWND box : {summaryBox_, messageBox_}) RemoveWindowSubclass(box, BoxProc, kBoxSubclassId);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = summaryBox_ = messageBox_ = nullptr;
            buttons_.fill(nullptr);
            dragging_ = false;
            break;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {kStructViewMinimumWidth, kStructViewMinimumHeight};
            return 0;
        }
        case WM_SIZE:
            if (wParam != SIZE_MAXIMIZED) {
                RECT outer{};
                GetWindowRect(window_, &outer);
                const int width = outer.right - outer.left;
                width_ = width < kStructViewMinimumWidth + 1 ? kStructViewMinimumWidth : width;
            }
            Layout();
            return 0;
        case WM_DPICHANGED:
            dpi_ = HIWORD(wParam);
            CreateFonts();
            Layout();
            return 0;
        case WM_CLOSE: PostToOwner(kAppStructViewClosed); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: Paint(); return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) break;
            switch (LOWORD(wParam)) {
                case kButtonIds[0]: PostToOwner(kAppStructViewChooseFile); return 0;
                case kButtonIds[1]: PostToOwner(kAppStructViewReload); return 0;
                case kButtonIds[2]: PostToOwner(kAppStructViewUnload); return 0;
                case kButtonIds[3]:
                    if (summary_.empty()) return 0;
                    summaryShown_ = !summaryShown_;
                    Layout();
                    return 0;
                default: break;
            }
            break;
        case WM_LBUTTONDOWN: OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
        case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
        case WM_LBUTTONUP:
            if (dragging_) {
                EndDrag();
                ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED: EndDrag(); return 0;
        case WM_LBUTTONDBLCLK:
            if (OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return 0;
            break;
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) break;
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(window_, &point);
            if (HitColumnDivider(Edges(), point.x, point.y, summaryHeight_, Loaded()) < 0) break;
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        case WM_MOUSEWHEEL:
            ScrollTo(horizontalPosition_, WheelScroll(verticalPosition_, GET_WHEEL_DELTA_WPARAM(wParam)));
            return 0;
        case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
        case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
        case WM_KEYDOWN:
            if (OnKeyDown(wParam)) return 0;
            break;
        case WM_COPY: CopyTable(); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// --- children, fonts, layout ------------------------------------------------------------------

void StructViewWindow::CreateChildren() {
    static constexpr std::array<int, 4> kWidths = kStructButtonWidths;
    for (std::size_t k = 0; k < buttons_.size(); ++k)
        buttons_[k] = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, kStructButtonTop,
                                      kWidths[k], kStructButtonHeight, window_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonIds[k])), instance_, nullptr);
    for (HWND* box : {&summaryBox_, &messageBox_}) {
        *box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 0, 0, 1, 1, window_,
                               nullptr, instance_, nullptr);
        if (*box) SetWindowSubclass(*box, BoxProc, kBoxSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

void StructViewWindow::CreateFonts() {
    DeleteFonts();
    const int dpi = static_cast<int>(dpi_ == 0 ? 96 : dpi_);
    auto make = [dpi](int pixels) {
        return CreateFontW(-MulDiv(pixels, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Segoe UI");
    };
    normalFont_ = make(14);
    smallFont_ = make(13);
    // The buttons take the normal font too, so that they match the boxes.
    for (HWND child : {summaryBox_, messageBox_, buttons_[0], buttons_[1], buttons_[2], buttons_[3]})
        if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont_), TRUE);
}

void StructViewWindow::DeleteFonts() {
    for (HFONT* font : {&normalFont_, &smallFont_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

void StructViewWindow::RefreshChildTexts() {
    if (!window_) return;
    const std::array<const std::u16string*, 4> captions{&labels_.openButton, &labels_.reloadButton,
                                                        &labels_.closeButton, &labels_.infoButton};
    for (std::size_t k = 0; k < buttons_.size(); ++k) {
        if (!buttons_[k]) continue;
        SetText(buttons_[k], *captions[k]);
        ShowWindow(buttons_[k], SW_SHOW);
    }
    if (buttons_[1]) EnableWindow(buttons_[1], !displayName_.empty());
    if (buttons_[2]) EnableWindow(buttons_[2], !displayName_.empty());
    if (buttons_[3]) EnableWindow(buttons_[3], !summary_.empty());
    SetText(summaryBox_, summary_);
    SetText(messageBox_, FormatStructViewMessage(labels_, state_, message_));
}

int StructViewWindow::MeasureSummaryHeight() const {
    if (!summaryShown_ || summary_.empty()) return 0;
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, normalFont_);
    RECT box{kStructMargin, 0, std::max(kStructMargin + 13, static_cast<int>(ClientSize().cx) - kStructMargin), 0};
    DrawTextW(dc, Wide(summary_), static_cast<int>(summary_.size()), &box, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    return static_cast<int>(box.bottom - box.top) + 20;
}

void StructViewWindow::Layout() {
    if (!window_ || inLayout_) return;
    inLayout_ = true;
    // Scroll bars that appear or vanish change the client size: lay out again when they did.
    for (int pass = 0; pass < 3; ++pass) {
        const SIZE client = ClientSize();
        summaryHeight_ = MeasureSummaryHeight();
        const std::array<int, 4> lefts = StructButtonLefts(static_cast<int>(client.cx));
        for (std::size_t k = 0; k < buttons_.size(); ++k)
            if (buttons_[k])
                MoveWindow(buttons_[k], lefts[k], kStructButtonTop, kStructButtonWidths[k], kStructButtonHeight, TRUE);
        if (summaryBox_) {
            const PixelRect r = SummaryBoxRect(static_cast<int>(client.cx), summaryHeight_);
            MoveWindow(summaryBox_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
            ShowWindow(summaryBox_, summaryHeight_ >= 1 ? SW_SHOW : SW_HIDE);
        }
        if (messageBox_) {
            const PixelRect r = MessageBoxRect(static_cast<int>(client.cx), static_cast<int>(client.cy), summaryHeight_);
            MoveWindow(messageBox_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
            ShowWindow(messageBox_, Loaded() ? SW_HIDE : SW_SHOW);
        }
        columnWidths_ = ClampColumnWidths(columnWidths_);
        content_ = ComputeContentSize(columnWidths_, rows_.size(), Loaded());
        UpdateScrollBars();
        const SIZE after = ClientSize();
        if (after.cx == client.cx && after.cy == client.cy) break;
    }
    inLayout_ = false;
    Redraw();
}

void StructViewWindow::UpdateScrollBars() {
    const SIZE client = ClientSize();
    const ScrollAxis horizontal = HorizontalScroll(content_.width, static_cast<int>(client.cx), horizontalPosition_);
    const ScrollAxis vertical =
        VerticalScroll(content_.height, static_cast<int>(client.cy), summaryHeight_, verticalPosition_);
    horizontalPosition_ = horizontal.pos;
    verticalPosition_ = vertical.pos;
    for (const auto& [bar, axis] : {std::pair{SB_HORZ, horizontal}, std::pair{SB_VERT, vertical}}) {
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, axis.max, static_cast<UINT>(axis.page),
                        axis.pos, 0};
        SetScrollInfo(window_, bar, &info, TRUE);
    }
}

}  // namespace tvx
