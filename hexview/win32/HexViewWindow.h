#pragma once
// The hex view's window ("Tavro.HexView"): decodes messages for the portable HexView,
// carries out its requests on the window and draws it through HexRenderer.

#include "hexview/HexView.h"
#include "hexview/HexViewHost.h"
#include "hexview/win32/HexRenderer.h"

#include <windows.h>

namespace tvx {

class HexViewWindow final : private IHexViewHost {
public:
    HexViewWindow() = default;
    HexViewWindow(const HexViewWindow&) = delete;
    HexViewWindow& operator=(const HexViewWindow&) = delete;

    // Registers "Tavro.HexView"; false on failure.
    static bool RegisterWindowClass(HINSTANCE instance);
    // The child window at (0, 0), 100 x 100, with control id 2001; null on failure.
    HWND Create(HWND parent, HINSTANCE instance);

    [[nodiscard]] HWND Window() const { return window_; }
    [[nodiscard]] HexView& View() { return view_; }
    [[nodiscard]] const HexView& View() const { return view_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::int32_t ClientWidth() const override;
    std::int32_t ClientHeight() const override;
    std::uint32_t WindowDpi() const override;
    void Invalidate() override;
    void ReleaseDeviceResources() override;
    void SetScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) override;
    void TakeFocus() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void CopyToClipboard(const std::u16string& text) override;
    bool ConfirmLargeCopy(std::uint64_t bytes) override;
    void PostCopyFailed() override;
    std::optional<std::u16string> ClipboardText() override;
    void PostDocumentChanged() override;
    void PostReadOnlyBlocked() override;
    void SendViewStatusChanged() override;
    void PostPasteRefused(PasteRefusal reason) override;

    HWND window_ = nullptr;
    HexRenderer renderer_;
    HexView view_{*this, renderer_};
};

}  // namespace tvx
