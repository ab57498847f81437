#pragma once
// The Data Inspector window ("Tavro.DataInspectorWindow"): a tool window owned by the main
// window that shows the inspector's rows as a two-column table drawn with Direct2D and
// DirectWrite. It computes nothing: the main window gives it its labels and values. A click
// selects a value, Ctrl+C copies it. User-interface thread only.

#include "inspector/InspectorLabels.h"
#include "settings/Enums.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <span>
#include <string>
#include <vector>

namespace tvx {

class DataInspectorWindow {
public:
    DataInspectorWindow() = default;
    DataInspectorWindow(const DataInspectorWindow&) = delete;
    DataInspectorWindow& operator=(const DataInspectorWindow&) = delete;
    ~DataInspectorWindow();

    // With a window: takes the labels (the title becomes the window text) and the theme and
    // redraws; true. Without: registers the class once, creates the hidden window at the
    // stored width and returns whether it exists. The caller positions and shows it.
    [[nodiscard]] bool CreateOrUpdate(HWND owner, HINSTANCE instance, const InspectorLabels& labels, Theme theme);
    // Takes a result's values; a selection beyond them moves to the last one.
    void SetValues(std::span<const std::u16string> values);
    void SetLabels(const InspectorLabels& labels);
    void SetTheme(Theme theme);
    // Puts the selected value (never its label) on the clipboard; nothing without a selection.
    void CopySelectedValue();
    // Destroys the window, which releases its drawing resources.
    void Destroy();

    [[nodiscard]] HWND Window() const { return window_; }
    // The outer width in pixels, kept across re-creation of the window.
    [[nodiscard]] int Width() const { return width_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Paint();
    void DrawTable(float width, float height);
    bool EnsureDrawingResources();
    void CreateTextFormat();
    void ResizeTarget();
    void ReleaseDrawingResources();
    void SelectAt(int x, int y);
    [[nodiscard]] SIZE ClientPixels() const;

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    UINT dpi_ = 96;
    Theme theme_ = Theme::DarkBlue;
    InspectorLabels labels_;
    std::vector<std::u16string> values_;
    int width_ = 520;
    Microsoft::WRL::ComPtr<ID2D1Factory> d2dFactory_;
    Microsoft::WRL::ComPtr<ID2D1HwndRenderTarget> target_;
    Microsoft::WRL::ComPtr<IDWriteFactory> writeFactory_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> textFormat_;
    int selectedRow_ = -1;
};

}  // namespace tvx
