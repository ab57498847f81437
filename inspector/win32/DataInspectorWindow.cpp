#include "inspector/win32/DataInspectorWindow.h"

#include "inspector/InspectorLayout.h"
#include "inspector/InspectorMessages.h"
#include "inspector/SideWindowPalette.h"
#include "inspector/win32/ClipboardText.h"
#include "platform/win32/WideText.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

using Microsoft::WRL::ComPtr;

namespace tvx {
namespace {

constexpr wchar_t kClassName[] = L"Tavro.DataInspectorWindow";
constexpr float kFontSize = 14;  // DIPs
constexpr auto kTextOptions =
    static_cast<D2D1_DRAW_TEXT_OPTIONS>(D2D1_DRAW_TEXT_OPTIONS_CLIP | D2D1_DRAW_TEXT_OPTIONS_ENABLE_COLOR_FONT);


D2D1_COLOR_F Color(Rgb rgb) {
    return D2D1::ColorF(static_cast<float>(rgb.r) / 255.0f, static_cast<float>(rgb.g) / 255.0f,
                        static_cast<float>(rgb.b) / 255.0f, 1.0f);
}

// "Segoe UI" when the system has it; otherwise the system's message font or another common
// sans-serif family that exists, so that the texts still show where Segoe UI is missing
// (DirectWrite draws nothing for a family it does not know).
std::wstring UiFontFamily(IDWriteFactory* factory) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) metrics.lfMessageFont.lfFaceName[0] = 0;
    const std::wstring candidates[] = {L"Segoe UI", metrics.lfMessageFont.lfFaceName, L"Tahoma", L"Arial", L"DejaVu Sans"};
    ComPtr<IDWriteFontCollection> fonts;
    if (FAILED(factory->GetSystemFontCollection(&fonts))) return candidates[0];
    for (const std::wstring& family : candidates) {
        UINT32 index = 0;
        BOOL exists = FALSE;
        if (!family.empty() && SUCCEEDED(fonts->FindFamilyName(family.c_str(), &index, &exists)) && exists) return family;
    }
    return candidates[0];
}

}  // namespace

DataInspectorWindow::~DataInspectorWindow() { Destroy(); }

bool DataInspectorWindow::CreateOrUpdate(HWND owner, HINSTANCE instance, const InspectorLabels& labels, Theme theme) {
    if (window_) {
        SetLabels(labels);
        SetTheme(theme);
        return true;
    }
    WNDCLASSW wc{};
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
    CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, Wide(labels_.title), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                    CW_USEDEFAULT, CW_USEDEFAULT, width_, kInspectorInitialHeight, owner, nullptr, instance, this);
    return window_ != nullptr;
}

void DataInspectorWindow::SetValues(std::span<const std::u16string> values) {
    values_.assign(values.begin(), values.end());
    selectedRow_ = ClampInspectorSelection(selectedRow_, values_.size());
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void DataInspectorWindow::SetLabels(const InspectorLabels& labels) {
    labels_ = labels;
    if (!window_) return;
    SetWindowTextW(window_, Wide(labels_.title));
    InvalidateRect(window_, nullptr, TRUE);
}

void DataInspectorWindow::SetTheme(Theme theme) {
    theme_ = theme;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void DataInspectorWindow::CopySelectedValue() {
    if (selectedRow_ < 0 || static_cast<std::size_t>(selectedRow_) >= values_.size()) return;
    (void)CopyTextToClipboard(window_, values_[static_cast<std::size_t>(selectedRow_)]);  // a busy clipboard copies nothing
}

void DataInspectorWindow::Destroy() {
    if (window_) DestroyWindow(window_);  // WM_DESTROY releases the drawing resources
    window_ = nullptr;
}

LRESULT CALLBACK DataInspectorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<DataInspectorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        self->dpi_ = GetDpiForWindow(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DataInspectorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT DataInspectorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {kInspectorMinimumWidth, kInspectorMinimumHeight};
            return 0;
        }
        case WM_SIZE: {
            RECT outer{};
            GetWindowRect(window_, &outer);
            width_ = InspectorWidthAfterResize(outer.right - outer.left);
            ResizeTarget();
            return 0;
        }
        case WM_PAINT: Paint(); return 0;
        case WM_CLOSE: PostMessageW(owner_, WM_APP + kAppInspectorClosed, 0, 0); return 0;
        case WM_DESTROY: ReleaseDrawingResources(); return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            SelectAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_KEYDOWN:
            if ((wParam == 'C' || wParam == VK_INSERT) && GetKeyState(VK_CONTROL) < 0) {
                CopySelectedValue();
                return 0;
            }
            break;
        case WM_COPY: CopySelectedValue(); return 0;
        case WM_DPICHANGED:
            dpi_ = HIWORD(wParam);
            CreateTextFormat();
            ResizeTarget();
            return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

SIZE DataInspectorWindow::ClientPixels() const {
    RECT client{};
    GetClientRect(window_, &client);
    return {std::max(1L, client.right - client.left), std::max(1L, client.bottom - client.top)};
}

// --- drawing resources -------------------------------------------------------------------------

void DataInspectorWindow::CreateTextFormat() {
    textFormat_.Reset();
    if (!writeFactory_) return;
    const std::wstring family = UiFontFamily(writeFactory_.Get());
    if (FAILED(writeFactory_->CreateTextFormat(family.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL,
                                               DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, kFontSize, L"",
                                               &textFormat_)))
        return;
    textFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    textFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    textFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
}

bool DataInspectorWindow::EnsureDrawingResources() {
    if (!d2dFactory_)
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                          reinterpret_cast<void**>(d2dFactory_.GetAddressOf()));
    if (!writeFactory_)
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown**>(writeFactory_.GetAddressOf()));
    if (!textFormat_) CreateTextFormat();
    if (d2dFactory_ && !target_) {
        const SIZE size = ClientPixels();
        const auto properties = D2D1::HwndRenderTargetProperties(
            window_, D2D1::SizeU(static_cast<UINT32>(size.cx), static_cast<UINT32>(size.cy)));
        if (SUCCEEDED(d2dFactory_->CreateHwndRenderTarget(D2D1::RenderTargetProperties(), properties, &target_)))
            target_->SetDpi(static_cast<float>(dpi_ == 0 ? 96 : dpi_), static_cast<float>(dpi_ == 0 ? 96 : dpi_));
    }
    return target_ && textFormat_;
}

void DataInspectorWindow::ResizeTarget() {
    if (target_) {
        const SIZE size = ClientPixels();
        target_->Resize(D2D1::SizeU(static_cast<UINT32>(size.cx), static_cast<UINT32>(size.cy)));
        target_->SetDpi(static_cast<float>(dpi_ == 0 ? 96 : dpi_), static_cast<float>(dpi_ == 0 ? 96 : dpi_));
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void DataInspectorWindow::ReleaseDrawingResources() {
    textFormat_.Reset();
    target_.Reset();
    writeFactory_.Reset();
    d2dFactory_.Reset();
}

// --- painting ----------------------------------------------------------------------------------

void DataInspectorWindow::Paint() {
    PAINTSTRUCT ps;
    BeginPaint(window_, &ps);
    if (EnsureDrawingResources()) {
        const SIZE size = ClientPixels();
        DrawTable(PixelsToDips(static_cast<int>(size.cx), dpi_), PixelsToDips(static_cast<int>(size.cy), dpi_));
    }
    EndPaint(window_, &ps);
}

void DataInspectorWindow::DrawTable(float width, float height) {
    const SideWindowPalette palette = SideWindowPaletteFor(theme_);
    ComPtr<ID2D1SolidColorBrush> background, header, grid, text, selection;
    if (FAILED(target_->CreateSolidColorBrush(Color(palette.background), &background)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.header), &header)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.grid), &grid)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.text), &text)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.selection), &selection)))
        return;
    const float nameWidth = InspectorNameColumnWidth(width);
    const float inset = kInspectorTextInset;
    auto drawText = [&](const std::u16string& value, float left, float top, float right, float bottom) {
        target_->DrawText(Wide(value), static_cast<UINT32>(value.size()), textFormat_.Get(),
                          D2D1::RectF(left, top, right, bottom), text.Get(), kTextOptions, DWRITE_MEASURING_MODE_NATURAL);
    };

    target_->BeginDraw();
    target_->Clear(Color(palette.background));
    target_->FillRectangle(D2D1::RectF(0, 0, width, kInspectorHeaderHeight), header.Get());
    target_->DrawLine(D2D1::Point2F(nameWidth, 0), D2D1::Point2F(nameWidth, height), grid.Get(), 1.0f);
    target_->DrawLine(D2D1::Point2F(0, kInspectorHeaderHeight), D2D1::Point2F(width, kInspectorHeaderHeight), grid.Get(),
                      1.0f);
    drawText(labels_.nameHeading, inset, 0, nameWidth - inset, kInspectorHeaderHeight);
    drawText(labels_.valueHeading, nameWidth + inset, 0, width - inset, kInspectorHeaderHeight);
    for (std::size_t i = 0; i < labels_.rows.size(); ++i) {
        const float top = kInspectorHeaderHeight + kInspectorRowHeight * static_cast<float>(i);
        const float bottom = top + kInspectorRowHeight;
        if (static_cast<int>(i) == selectedRow_)
            target_->FillRectangle(D2D1::RectF(nameWidth, top, width, bottom), selection.Get());
        target_->DrawLine(D2D1::Point2F(0, bottom), D2D1::Point2F(width, bottom), grid.Get(), 1.0f);
        drawText(labels_.rows[i], inset, top, nameWidth - inset, bottom);
        drawText(i < values_.size() ? values_[i] : std::u16string(), nameWidth + inset, top, width - inset, bottom);
    }
    if (target_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) target_.Reset();
}

void DataInspectorWindow::SelectAt(int x, int y) {
    const SIZE size = ClientPixels();
    const int row = InspectorRowAt(PixelsToDips(x, dpi_), PixelsToDips(y, dpi_),
                                   PixelsToDips(static_cast<int>(size.cx), dpi_), values_.size());
    if (row == selectedRow_) return;
    selectedRow_ = row;
    InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace tvx
