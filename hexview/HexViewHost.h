#pragma once
// What the hex view asks of the window that shows it. The view's logic calls only this,
// so it can run, and be tested, without a window.

#include <cstdint>
#include <optional>
#include <string>

namespace tvx {

// One scroll bar: range 0 to max, page and position, as SetScrollInfo takes them.
struct ScrollBarState {
    std::int32_t max = 0;
    std::int32_t page = 0;
    std::int32_t pos = 0;

    bool operator==(const ScrollBarState&) const = default;
};

// Why a paste wrote nothing.
enum class PasteRefusal { PastEnd, NotEncodable };

class IHexViewHost {
public:
    virtual ~IHexViewHost() = default;

    // Client area in physical pixels; 0 x 0 without a window.
    virtual std::int32_t ClientWidth() const = 0;
    virtual std::int32_t ClientHeight() const = 0;
    // The window's DPI; 96 without a window.
    virtual std::uint32_t WindowDpi() const = 0;

    virtual void Invalidate() = 0;  // repaint without erasing
    // Drops the render target and text format; both are made again at the next paint.
    virtual void ReleaseDeviceResources() = 0;
    virtual void SetScrollBars(const ScrollBarState& vertical, const ScrollBarState& horizontal) = 0;
    virtual void TakeFocus() = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // The caret blink timer; the host picks the interval.
    virtual void StartBlinkTimer() = 0;
    virtual void StopBlinkTimer() = 0;
    // Failures are silent.
    virtual void CopyToClipboard(const std::u16string& text) = 0;
    // Asks the user whether to copy a selection of that many bytes (above kLargeCopyBytes).
    virtual bool ConfirmLargeCopy(std::uint64_t bytes) = 0;
    // The user is told that the selection could not be read or did not fit in memory.
    virtual void PostCopyFailed() = 0;
    // The clipboard's CF_UNICODETEXT; nullopt when it holds none or cannot be read.
    virtual std::optional<std::u16string> ClipboardText() = 0;

    // Notifications to the parent window.
    virtual void PostDocumentChanged() = 0;
    virtual void PostReadOnlyBlocked() = 0;
    virtual void SendViewStatusChanged() = 0;
    // The user is told (a message box) and nothing changed.
    virtual void PostPasteRefused(PasteRefusal reason) = 0;
};

}  // namespace tvx
