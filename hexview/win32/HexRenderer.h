#pragma once
// The hex view's Direct2D and DirectWrite resources: measuring for the view's geometry and
// drawing its rows. Device resources are made lazily and dropped on resize, metric
// changes and device loss. The render target draws into the paint DC (a DC render target
// bound at every paint): Wine does not present HWND render targets of child windows.

#include "hexview/HexMeasurer.h"
#include "hexview/HexView.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

namespace tvx {

class HexRenderer final : public IHexMeasurer {
public:
    [[nodiscard]] bool Prepare(const HexFont& font, float size) override;
    [[nodiscard]] std::optional<float> LineHeight() override;
    [[nodiscard]] std::optional<float> Advance(char16_t character) override;

    // Drops the text format and the render target.
    void ReleaseDeviceResources();
    // The WM_PAINT handler.
    void Paint(HWND window, HexView& view);

private:
    bool EnsureWriteFactory();
    void EnsureTextFormat(const HexFont& font, float size);
    void EnsureDeviceResources(const HexView& view);
    struct Brushes {
        ID2D1Brush* characters;
        ID2D1Brush* offsets;
        ID2D1Brush* selection;
        ID2D1Brush* caret;
        ID2D1Brush* changed;
        ID2D1Brush* match;
    };
    void DrawRows(HexView& view, const Brushes& brushes);

    Microsoft::WRL::ComPtr<ID2D1Factory> d2dFactory_;
    Microsoft::WRL::ComPtr<ID2D1DCRenderTarget> target_;
    Microsoft::WRL::ComPtr<IDWriteFactory> writeFactory_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> textFormat_;
};

}  // namespace tvx
