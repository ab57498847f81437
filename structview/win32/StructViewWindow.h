#pragma once
// The Struct View window ("Tavro.StructViewWindow"): a tool window owned by the main window
// that lists the entry struct's members laid over the bytes at the caret. GDI drawing into an
// off-screen bitmap, in physical pixels; only the fonts follow the DPI. Four buttons (Open,
// Reload, Close, Info) and two read-only boxes (the pattern's summary, the message or load
// error). It asks the main window for everything through posted messages; the main window
// gives it rows, messages, labels, theme and value format. User-interface thread only.

#include "structpattern/StructValueFormat.h"
#include "structview/StructViewCopyText.h"
#include "structview/StructViewGeometry.h"
#include "structview/StructViewLabels.h"
#include "settings/Enums.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace tvx {

class StructViewWindow {
public:
    StructViewWindow() = default;
    StructViewWindow(const StructViewWindow&) = delete;
    StructViewWindow& operator=(const StructViewWindow&) = delete;
    ~StructViewWindow();

    // Registers the class once and creates the hidden window at the stored width; true when
    // the window exists (also when it existed already). The caller docks and shows it.
    [[nodiscard]] bool Create(HWND owner, HINSTANCE instance, const StructViewLabels& labels, Theme theme);
    // Destroys the window and its fonts. Width, column widths and the summary toggle stay.
    void Destroy();

    // Language change: window and button texts, re-layout.
    void SetLabels(const StructViewLabels& labels);
    void SetTheme(Theme theme);
    void SetValueFormat(const StructValueFormat& format) { format_ = format; }
    // Shows the rows of the loaded pattern named displayName.
    void SetRows(std::u16string displayName, std::vector<StructViewRow> rows, std::u16string summary);
    // Shows a message (possibly empty) instead of rows; no pattern is named.
    void SetMessage(std::u16string text);
    // Shows the load error of the pattern named displayName; Reload stays available.
    void SetError(std::u16string displayName, std::u16string message);
    // Repaints the whole window without erasing.
    void Redraw();

    [[nodiscard]] HWND Window() const { return window_; }
    // The outer width in pixels, kept across re-creation of the window.
    [[nodiscard]] int Width() const { return width_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Children, fonts and layout (StructViewWindow.cpp).
    void CreateChildren();
    void CreateFonts();
    void DeleteFonts();
    void RefreshChildTexts();
    void Layout();
    void UpdateScrollBars();
    [[nodiscard]] int MeasureSummaryHeight() const;
    [[nodiscard]] SIZE ClientSize() const;
    [[nodiscard]] bool Loaded() const { return state_ == StructViewState::Loaded; }
    void PostToOwner(UINT offset, WPARAM wParam = 0) const;

    // Painting (StructViewPainter.cpp).
    void Paint();
    void PaintTable(HDC dc, int width, int height) const;

    // Input (StructViewInput.cpp).
    void OnButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    bool OnDoubleClick(int x, int y);
    bool OnKeyDown(WPARAM key);
    void OnScroll(int bar, WORD request);
    void ScrollTo(int horizontal, int vertical);
    void SelectRow(int row);
    void EndDrag();
    void ShowValueFormatMenu();
    void CopyTable();
    [[nodiscard]] StructColumnEdges Edges() const { return StructColumnEdges(columnWidths_, horizontalPosition_); }

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    UINT dpi_ = 96;
    Theme theme_ = Theme::DarkBlue;
    StructViewLabels labels_;
    StructViewState state_ = StructViewState::Message;
    std::u16string displayName_;
    std::u16string message_;
    std::u16string summary_;
    std::vector<StructViewRow> rows_;
    int width_ = kStructViewInitialWidth;
    std::array<HWND, 4> buttons_{};  // Open, Reload, Close, Info
    HWND summaryBox_ = nullptr;
    HWND messageBox_ = nullptr;
    HFONT normalFont_ = nullptr;
    HFONT smallFont_ = nullptr;
    int selectedRow_ = -1;
    int horizontalPosition_ = 0;
    int verticalPosition_ = 0;
    int summaryHeight_ = 0;  // the summary band's height, 0 while it is hidden
    StructContentSize content_;
    StructColumnWidths columnWidths_ = kInitialColumnWidths;
    bool dragging_ = false;
    int dragColumn_ = -1;
    int dragStartX_ = 0;
    StructColumnWidths dragStartWidths_ = kInitialColumnWidths;
    bool summaryShown_ = false;
    bool inLayout_ = false;
    StructValueFormat format_;
};

}  // namespace tvx
