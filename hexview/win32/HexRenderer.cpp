#include "hexview/win32/HexRenderer.h"

#include "hexview/HexPalette.h"
#include "hexview/RowCells.h"
#include "platform/win32/WideText.h"

#include <dwrite_2.h>

#include <algorithm>
#include <string>

using Microsoft::WRL::ComPtr;

namespace tvx {
namespace {


D2D1_COLOR_F Color(Rgb rgb, float alpha = 1.0f) {
    return D2D1::ColorF(static_cast<float>(rgb.r) / 255.0f, static_cast<float>(rgb.g) / 255.0f,
                        static_cast<float>(rgb.b) / 255.0f, alpha);
}

constexpr auto kTextOptions = D2D1_DRAW_TEXT_OPTIONS_ENABLE_COLOR_FONT;

}  // namespace

// --- measuring -----------------------------------------------------------------------------

bool HexRenderer::EnsureWriteFactory() {
    if (!writeFactory_)
        DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                            reinterpret_cast<IUnknown**>(writeFactory_.GetAddressOf()));
    return writeFactory_ != nullptr;
}

void HexRenderer::EnsureTextFormat(const HexFont& font, float size) {
    if (textFormat_ || !EnsureWriteFactory()) return;
    if (FAILED(writeFactory_->CreateTextFormat(Wide(font.family), nullptr,
                                               font.bold ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL,
                                               font.italic ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL,
                                               DWRITE_FONT_STRETCH_NORMAL, size, L"", &textFormat_)))
        return;
    textFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    textFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_NEAR);
    textFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
    // Characters missing from the chosen font come from the system's other fonts.
    ComPtr<IDWriteFactory2> factory2;
    ComPtr<IDWriteTextFormat1> format1;
    ComPtr<IDWriteFontFallback> fallback;
    if (SUCCEEDED(writeFactory_.As(&factory2)) && SUCCEEDED(textFormat_.As(&format1)) &&
        SUCCEEDED(factory2->GetSystemFontFallback(&fallback)))
        format1->SetFontFallback(fallback.Get());
}

bool HexRenderer::Prepare(const HexFont& font, float size) {
    if (!EnsureWriteFactory()) return false;
    textFormat_.Reset();
    EnsureTextFormat(font, size);
    return true;
}

std::optional<float> HexRenderer::LineHeight() {
    if (!textFormat_) return std::nullopt;
    static constexpr wchar_t kFourLines[] = L"0\r\n0\r\n0\r\n0";
    ComPtr<IDWriteTextLayout> layout;
    if (FAILED(writeFactory_->CreateTextLayout(kFourLines, 10, textFormat_.Get(), 4096, 4096, &layout)))
        return std::nullopt;
    UINT32 count = 0;
    layout->GetLineMetrics(nullptr, 0, &count);  // asks for the count
    if (count == 0) return std::nullopt;
    std::vector<DWRITE_LINE_METRICS> lines(count);
    if (FAILED(layout->GetLineMetrics(lines.data(), count, &count)) || count == 0) return std::nullopt;
    float total = 0;
    for (UINT32 i = 0; i < count; ++i) total += lines[i].height;
    return total / static_cast<float>(count);
}

std::optional<float> HexRenderer::Advance(char16_t character) {
    if (!textFormat_) return std::nullopt;
    const auto c = static_cast<wchar_t>(character);
    ComPtr<IDWriteTextLayout> layout;
    DWRITE_TEXT_METRICS metrics{};
    if (FAILED(writeFactory_->CreateTextLayout(&c, 1, textFormat_.Get(), 256, 256, &layout)) ||
        FAILED(layout->GetMetrics(&metrics)))
        return std::nullopt;
    return metrics.widthIncludingTrailingWhitespace;
}

// --- drawing -------------------------------------------------------------------------------

void HexRenderer::ReleaseDeviceResources() {
    textFormat_.Reset();
    target_.Reset();
}

void HexRenderer::EnsureDeviceResources(const HexView& view) {
    if (!d2dFactory_)
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                          reinterpret_cast<void**>(d2dFactory_.GetAddressOf()));
    EnsureTextFormat(view.Font(), view.Metrics().fontSize);
    if (d2dFactory_ && !target_) {
        const auto properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
        if (SUCCEEDED(d2dFactory_->CreateDCRenderTarget(&properties, &target_))) {
            const auto dpi = static_cast<float>(view.Dpi() == 0 ? 96 : view.Dpi());
            target_->SetDpi(dpi, dpi);
        }
    }
}

void HexRenderer::Paint(HWND window, HexView& view) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EnsureDeviceResources(view);
    RECT client{};
    GetClientRect(window, &client);
    if (target_ && FAILED(target_->BindDC(ps.hdc, &client))) target_.Reset();
    if (!target_) {
        EndPaint(window, &ps);
        return;
    }
    const HexPalette palette = PaletteFor(view.GetTheme());
    ComPtr<ID2D1SolidColorBrush> characters, offsets, selection, caret, background, changed, match;
    if (FAILED(target_->CreateSolidColorBrush(Color(palette.characters), &characters)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.offsets), &offsets)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.selection, palette.selectionAlpha), &selection)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.caret), &caret)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.background), &background)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.changed), &changed)) ||
        FAILED(target_->CreateSolidColorBrush(Color(palette.match), &match))) {
        ReleaseDeviceResources();
        EndPaint(window, &ps);
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    target_->BeginDraw();
    target_->Clear(Color(palette.background));
    if (view.DocumentOpen() && textFormat_)
        DrawRows(view, {characters.Get(), offsets.Get(), selection.Get(), caret.Get(), changed.Get(), match.Get()});
    if (target_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        ReleaseDeviceResources();
        InvalidateRect(window, nullptr, FALSE);
    }
    EndPaint(window, &ps);
    // The first paint after a new document can precede the final layout: paint once more.
    if (view.TakeRepaintRequest()) InvalidateRect(window, nullptr, FALSE);
}

void HexRenderer::DrawRows(HexView& view, const Brushes& brushes) {
    ID2D1Brush* const offsets = brushes.offsets;
    ID2D1Brush* const selection = brushes.selection;
    ID2D1Brush* const caret = brushes.caret;
    const HexMetrics& m = view.Metrics();
    IReadOnlyDocument& document = *view.Document();
    const float rightEdge = view.ClientWidthDips() - m.margin;
    const float dataLeft = m.margin + m.offsetColumnWidth + m.columnGap;
    const float hexLeft = view.HexColumnLeft();
    const float textLeft = view.TextColumnLeft();
    const float hexPitch = 3 * m.hexCellWidth;
    const std::uint64_t rows = view.VisibleRowCount();
    const bool hasEndRow = view.HasEndRow();
    const std::uint64_t endRow = document.GetSize() / kBytesPerRow;
    const std::uint64_t caretRow = view.Caret() / kBytesPerRow;
    const auto caretColumn = static_cast<float>(view.Caret() % kBytesPerRow);
    const std::vector<std::uint16_t> matchMasks = view.VisibleMatchMasks();

    for (std::uint64_t k = 0; k < rows; ++k) {
        const std::uint64_t row = view.TopRow() + k;
        const std::uint64_t rowOffset = row * kBytesPerRow;
        const ByteBlock block = document.ReadBytes(rowOffset, kBytesPerRow);
        if (block.bytes.empty() && !(hasEndRow && row == endRow)) break;
        const float y = m.margin + static_cast<float>(k) * m.rowHeight;
        const float bottom = y + m.rowHeight;
        const RowCells cells = BuildRowCells(&document, rowOffset, block.bytes, view.Encoding());
        const std::uint16_t changedMask = view.ChangedMask(rowOffset, block.bytes.size());
        const auto characters = [&](std::size_t i) {
            return (changedMask >> i & 1u) != 0 ? brushes.changed : brushes.characters;
        };
        const auto dataClip = D2D1::RectF(dataLeft, y, std::max(rightEdge, dataLeft), bottom);

        target_->PushAxisAlignedClip(dataClip, D2D1_ANTIALIAS_MODE_ALIASED);
        // Behind byte i: its hex cell and its text cell.
        const auto fillByte = [&](std::size_t i, ID2D1Brush* brush) {
            const float hx = hexLeft + static_cast<float>(i) * hexPitch;
            const float tx = textLeft + static_cast<float>(i) * m.textCellWidth;
            target_->FillRectangle(D2D1::RectF(hx, y, hx + hexPitch, bottom), brush);
            target_->FillRectangle(D2D1::RectF(tx, y, tx + m.textCellWidth, bottom), brush);
        };
        // A selected byte shows the selection alone, over the background.
        const std::uint16_t matchMask = k < matchMasks.size() ? matchMasks[k] : 0;
        for (std::size_t i = 0; i < block.bytes.size(); ++i) {
            const std::uint64_t offset = rowOffset + i;
            if (view.SelectionActive() && offset >= view.SelectionStart() && offset <= view.SelectionEnd())
                fillByte(i, selection);
            else if ((matchMask >> i & 1u) != 0)
                fillByte(i, brushes.match);
        }
        if (caretRow == row) {
            const float hx = hexLeft + caretColumn * hexPitch;
            const float tx = textLeft + caretColumn * m.textCellWidth;
            const auto hexCell = D2D1::RectF(hx, y, hx + 2 * m.hexCellWidth, bottom);
            const auto textCell = D2D1::RectF(tx, y, tx + m.textCellWidth, bottom);
            const bool textActive = view.ActiveColumn() == CaretColumn::Text;
            const auto& active = textActive ? textCell : hexCell;
            const auto& partner = textActive ? hexCell : textCell;
            if (view.Mode() == EditMode::Overwrite) {
                target_->FillRectangle(active, selection);
                target_->DrawRectangle(active, caret, 1.0f);
                target_->DrawRectangle(partner, caret, 1.0f);  // the partner: an outline only
            } else {
                if (view.Focused() && view.BlinkOn())
                    target_->FillRectangle(D2D1::RectF(active.left, y, active.left + 2.0f, bottom), caret);
                target_->FillRectangle(D2D1::RectF(partner.left, y, partner.left + 1.0f, bottom), caret);
            }
        }
        target_->PopAxisAlignedClip();

        // Each offset digit alone, on the hex cell grid whatever the font's own advance.
        target_->PushAxisAlignedClip(D2D1::RectF(m.margin, y, m.margin + m.offsetColumnWidth, bottom),
                                     D2D1_ANTIALIAS_MODE_ALIASED);
        for (std::size_t i = 0; i < cells.offsetText.size(); ++i) {
            const float x = m.margin + static_cast<float>(i) * m.hexCellWidth;
            target_->DrawText(Wide(cells.offsetText) + i, 1, textFormat_.Get(),
                              D2D1::RectF(x, y, x + m.hexCellWidth, bottom), offsets, kTextOptions,
                              DWRITE_MEASURING_MODE_NATURAL);
        }
        target_->PopAxisAlignedClip();

        target_->PushAxisAlignedClip(dataClip, D2D1_ANTIALIAS_MODE_ALIASED);
        for (std::size_t i = 0; i < cells.hexCells.size(); ++i) {
            const float x = hexLeft + static_cast<float>(i) * hexPitch;
            target_->DrawText(Wide(cells.hexCells[i]), 2, textFormat_.Get(),
                              D2D1::RectF(x, y, x + 2 * m.hexCellWidth, bottom), characters(i), kTextOptions,
                              DWRITE_MEASURING_MODE_NATURAL);
        }
        target_->PopAxisAlignedClip();

        // The text clip reaches a row up and down so that tall glyphs and stacked marks
        // are not cut at the row's edges.
        target_->PushAxisAlignedClip(
            D2D1::RectF(dataLeft, std::max(y - m.rowHeight, 0.0f), std::max(rightEdge, dataLeft), y + 2 * m.rowHeight),
            D2D1_ANTIALIAS_MODE_ALIASED);
        for (std::size_t i = 0; i < cells.textCells.size(); ++i) {
            const std::u16string& text = cells.textCells[i];
            if (text.empty()) continue;
            const float width = std::max(static_cast<float>(text.size()) * m.textCellWidth, m.textCellWidth);
            ComPtr<IDWriteTextLayout> layout;
            if (FAILED(writeFactory_->CreateTextLayout(Wide(text), static_cast<UINT32>(text.size()), textFormat_.Get(),
                                                       std::max(4 * m.textCellWidth, 2 * width), 3 * m.rowHeight,
                                                       &layout)))
                continue;
            target_->DrawTextLayout(D2D1::Point2F(textLeft + static_cast<float>(i) * m.textCellWidth, y), layout.Get(),
                                    characters(i), kTextOptions);
        }
        target_->PopAxisAlignedClip();
    }
}

}  // namespace tvx
