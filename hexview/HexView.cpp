#include "hexview/HexView.h"

#include "hexview/MatchMarks.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <limits>
#include <utility>

namespace tvx {
namespace {

constexpr float kMinZoom = 0.6f;
constexpr float kMaxZoom = 2.5f;
constexpr float kZoomEpsilon = 0.001f;
constexpr float kMinPoints = 6;
constexpr float kMaxPoints = 48;
constexpr std::uint64_t kWheelRows = 3;
constexpr std::uint64_t kMaxScrollValue = std::numeric_limits<std::int32_t>::max();

bool SameFamily(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
               return std::towlower(static_cast<std::wint_t>(x)) == std::towlower(static_cast<std::wint_t>(y));
           });
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

}  // namespace

// --- document, font, zoom, DPI -------------------------------------------------------------

void HexView::SetDocument(IReadOnlyDocument* document) {
    EndPendingByte();
    document_ = document;
    editable_ = dynamic_cast<IUndoableDocument*>(document);
    topRow_ = 0;
    horizontalPosition_ = 0;
    caret_ = selectionFirst_ = selectionSecond_ = 0;
    selectionActive_ = false;
    dragAnchor_.reset();
    mouseCaptured_ = false;
    editingEnabled_ = false;
    repaintOnceMore_ = true;
    dpi_ = host_.WindowDpi();
    ComputeMetrics();
    host_.ReleaseDeviceResources();
    UpdateScrollBars();
    host_.TakeFocus();
    host_.Invalidate();
}

void HexView::SetFont(const std::u16string& family, float pointSize, bool bold, bool italic) {
    if (family.empty()) return;
    const float baseSize = std::clamp(pointSize, kMinPoints, kMaxPoints) * 96.0f / 72.0f;
    if (SameFamily(family, font_.family) && std::fabs(baseSize - metrics_.baseFontSize) < 0.01f &&
        bold == font_.bold && italic == font_.italic)
        return;
    font_ = {family, bold, italic};
    metrics_.baseFontSize = baseSize;
    RecomputeMetrics();
    UpdateScrollBars();
    EnsureCaretVisible();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

void HexView::ComputeMetrics() { tvx::ComputeMetrics(metrics_, measurer_, font_, zoom_, document_ ? document_->GetSize() : 0); }

void HexView::RecomputeMetrics() {
    ComputeMetrics();
    host_.ReleaseDeviceResources();
    UpdateScrollBars();
    host_.Invalidate();
}

void HexView::ChangeZoom(float step) {
    const float zoom = std::clamp(zoom_ + step, kMinZoom, kMaxZoom);
    if (std::fabs(zoom - zoom_) < kZoomEpsilon) return;
    zoom_ = zoom;
    AfterZoomChange();
}

void HexView::ResetZoom() {
    if (std::fabs(zoom_ - 1.0f) < kZoomEpsilon) return;
    zoom_ = 1.0f;
    AfterZoomChange();
}

void HexView::AfterZoomChange() {
    RecomputeMetrics();
    UpdateScrollBars();
    EnsureCaretVisible();
    host_.Invalidate();
    host_.SendViewStatusChanged();
}

void HexView::SetDpi(std::uint32_t dpi) {
    dpi_ = dpi == 0 ? 96 : dpi;
    RecomputeMetrics();
}

void HexView::SetEncoding(TextEncoding encoding) {
    if (encoding == encoding_) return;
    encoding_ = encoding;
    host_.Invalidate();
}

void HexView::SetTheme(Theme theme) {
    if (theme == theme_) return;
    theme_ = theme;
    host_.Invalidate();
}

std::uint16_t HexView::ChangedMask(std::uint64_t rowOffset, std::size_t count) const {
    count = std::min<std::size_t>(count, kBytesPerRow);
    if (!changed_ || count == 0 || !changed_(rowOffset, count)) return 0;
    std::uint16_t mask = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (changed_(rowOffset + i, 1)) mask = static_cast<std::uint16_t>(mask | 1u << i);
    return mask;
}

void HexView::SetMarkedPattern(std::vector<std::uint8_t> pattern) {
    if (pattern == markedPattern_) return;
    markedPattern_ = std::move(pattern);
    host_.Invalidate();
}

std::vector<std::uint16_t> HexView::VisibleMatchMasks() const {
    if (!document_ || markedPattern_.empty()) return {};
    return MatchMasks(*document_, markedPattern_, topRow_, VisibleRowCount());
}

bool HexView::TakeRepaintRequest() { return std::exchange(repaintOnceMore_, false); }

// --- geometry ------------------------------------------------------------------------------

float HexView::ToDips(int pixels) const {
    return static_cast<float>(pixels) * 96.0f / static_cast<float>(dpi_ == 0 ? 96 : dpi_);
}

float HexView::ClientWidthDips() const { return ToDips(host_.ClientWidth()); }
float HexView::ClientHeightDips() const { return ToDips(host_.ClientHeight()); }

std::uint64_t HexView::DocumentSize() const { return document_ ? document_->GetSize() : 0; }
bool HexView::DocumentOpen() const { return document_ && document_->IsOpen(); }

std::uint64_t HexView::LastByte() const {
    const std::uint64_t size = DocumentSize();
    return size == 0 ? 0 : size - 1;
}

std::uint64_t HexView::LastCaretOffset() const {
    if (!DocumentOpen()) return 0;
    return mode_ == EditMode::Insert ? DocumentSize() : LastByte();
}

bool HexView::HasEndRow() const {
    const std::uint64_t size = DocumentSize();
    return DocumentOpen() && mode_ == EditMode::Insert && size != 0 && size % kBytesPerRow == 0 && caret_ == size;
}

std::uint64_t HexView::RowCount() const {
    const std::uint64_t size = DocumentSize();
    return size / kBytesPerRow + (size % kBytesPerRow != 0 ? 1 : 0) + (HasEndRow() ? 1 : 0);
}

std::uint64_t HexView::VisibleRowCount() const {
    const float rows = (ClientHeightDips() - 2 * metrics_.margin) / metrics_.rowHeight;
    return rows >= 1 ? static_cast<std::uint64_t>(rows) : 1;
}

std::uint64_t HexView::MaxTopRow() const {
    const std::uint64_t rows = RowCount();
    const std::uint64_t visible = VisibleRowCount();
    return rows > visible ? rows - visible : 0;
}

std::int32_t HexView::DataViewportWidth() const {
    const float width = std::floor(ClientWidthDips() - (metrics_.margin + metrics_.offsetColumnWidth + metrics_.columnGap) -
                                   metrics_.margin);
    return width > 0 ? static_cast<std::int32_t>(width) : 0;
}

namespace {
std::int32_t ContentWidth(const HexMetrics& m) {
    return std::max(0, static_cast<std::int32_t>(std::ceil(m.hexColumnWidth + m.columnGap + m.textColumnWidth)));
}
}  // namespace

std::int32_t HexView::MaxHorizontalScroll() const { return std::max(0, ContentWidth(metrics_) - DataViewportWidth()); }

float HexView::HexColumnLeft() const {
    return metrics_.margin + metrics_.offsetColumnWidth + metrics_.columnGap - static_cast<float>(horizontalPosition_);
}

float HexView::TextColumnLeft() const { return HexColumnLeft() + metrics_.hexColumnWidth + metrics_.columnGap; }

std::optional<std::uint64_t> HexView::HitTest(int x, int y) const {
    const auto hit = HitCell(x, y);
    return hit ? std::optional(hit->offset) : std::nullopt;
}

std::optional<HexView::CellHit> HexView::HitCell(int x, int y) const {
    if (!DocumentOpen() || DocumentSize() == 0) return std::nullopt;  // an empty document has no cells
    const float dx = ToDips(x);
    const float dy = ToDips(y);
    if (dy < metrics_.margin || dy >= ClientHeightDips() - metrics_.margin) return std::nullopt;
    const auto screenRow = static_cast<std::uint64_t>((dy - metrics_.margin) / metrics_.rowHeight);
    const std::uint64_t rowOffset = (topRow_ + screenRow) * kBytesPerRow;
    if (rowOffset > LastByte()) return std::nullopt;

    std::uint64_t cell = 0;
    CaretColumn column = CaretColumn::Hex;
    const float hexLeft = HexColumnLeft();
    const float textLeft = TextColumnLeft();
    if (dx >= hexLeft && dx < hexLeft + metrics_.hexColumnWidth) {
        cell = static_cast<std::uint64_t>((dx - hexLeft) / (3 * metrics_.hexCellWidth));
    } else if (dx >= textLeft && dx < textLeft + metrics_.textColumnWidth) {
        cell = static_cast<std::uint64_t>((dx - textLeft) / metrics_.textCellWidth);
        column = CaretColumn::Text;
    } else {
        return std::nullopt;
    }
    const std::uint64_t offset = rowOffset + std::min<std::uint64_t>(cell, kBytesPerRow - 1);
    if (offset > LastByte()) return std::nullopt;
    return CellHit{offset, column};
}

// --- scrolling -----------------------------------------------------------------------------

void HexView::UpdateScrollBars() {
    caret_ = std::min(caret_, LastCaretOffset());
    topRow_ = std::min(topRow_, MaxTopRow());
    horizontalPosition_ = std::clamp(horizontalPosition_, 0, MaxHorizontalScroll());

    const std::uint64_t rows = RowCount();
    ScrollBarState vertical;
    vertical.max = static_cast<std::int32_t>(rows == 0 ? 0 : std::min(rows - 1, kMaxScrollValue));
    vertical.page = static_cast<std::int32_t>(std::min(VisibleRowCount(), kMaxScrollValue));
    vertical.pos = static_cast<std::int32_t>(std::min(topRow_, kMaxScrollValue));
    ScrollBarState horizontal;
    horizontal.max = std::max(0, ContentWidth(metrics_) - 1);
    horizontal.page = DataViewportWidth();
    horizontal.pos = horizontalPosition_;
    host_.SetScrollBars(vertical, horizontal);
}

void HexView::EnsureCaretVisible() {
    const std::uint64_t caretRow = caret_ / kBytesPerRow;
    const std::uint64_t visible = VisibleRowCount();
    if (caretRow < topRow_)
        topRow_ = caretRow;
    else if (caretRow >= topRow_ + visible)
        topRow_ = caretRow - visible + 1;

    // Only the hex cell is brought into view; the text cell follows it closely enough.
    const float cellLeft = std::floor(metrics_.hexCellWidth * 3 * static_cast<float>(caret_ % kBytesPerRow));
    const auto left = static_cast<std::int32_t>(cellLeft);
    const auto right = static_cast<std::int32_t>(std::ceil(2 * metrics_.hexCellWidth + cellLeft));
    const std::int32_t viewport = DataViewportWidth();
    if (left < horizontalPosition_)
        horizontalPosition_ = left;
    else if (right > viewport + horizontalPosition_)
        horizontalPosition_ = right - viewport;
    UpdateScrollBars();
}

void HexView::SetTopRow(std::uint64_t row) {
    topRow_ = std::min(row, MaxTopRow());
    UpdateScrollBars();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

void HexView::ScrollVertically(ScrollRequest request, std::int32_t trackPosition) {
    const std::uint64_t page = VisibleRowCount();
    std::uint64_t row = topRow_;
    switch (request) {
        case ScrollRequest::LineBack: row = topRow_ > 0 ? topRow_ - 1 : 0; break;
        case ScrollRequest::LineForward: row = SaturatingAdd(topRow_, 1); break;
        case ScrollRequest::PageBack: row = topRow_ > page ? topRow_ - page : 0; break;
        case ScrollRequest::PageForward: row = SaturatingAdd(topRow_, page); break;
        case ScrollRequest::Track: row = static_cast<std::uint64_t>(std::max(0, trackPosition)); break;
        case ScrollRequest::Start: row = 0; break;
        case ScrollRequest::End: row = MaxTopRow(); break;
        case ScrollRequest::Other: break;
    }
    SetTopRow(row);
}

void HexView::ScrollHorizontally(ScrollRequest request, std::int32_t trackPosition) {
    const std::int64_t line = std::max<std::int64_t>(1, std::lround(metrics_.hexCellWidth));
    const std::int64_t page = DataViewportWidth();
    std::int64_t position = horizontalPosition_;
    switch (request) {
        case ScrollRequest::LineBack: position -= line; break;
        case ScrollRequest::LineForward: position += line; break;
        case ScrollRequest::PageBack: position -= page; break;
        case ScrollRequest::PageForward: position += page; break;
        case ScrollRequest::Track: position = trackPosition; break;
        case ScrollRequest::Start: position = 0; break;
        case ScrollRequest::End: position = MaxHorizontalScroll(); break;
        case ScrollRequest::Other: break;
    }
    horizontalPosition_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, MaxHorizontalScroll()));
    UpdateScrollBars();
    host_.Invalidate();
}

void HexView::Wheel(int delta, bool ctrl) {
    if (ctrl) {
        ChangeZoom(delta > 0 ? 0.1f : -0.1f);
        return;
    }
    SetTopRow(delta > 0 ? (topRow_ > kWheelRows ? topRow_ - kWheelRows : 0) : SaturatingAdd(topRow_, kWheelRows));
}

void HexView::Resized() {
    host_.ReleaseDeviceResources();
    UpdateScrollBars();
    host_.Invalidate();
}

}  // namespace tvx
