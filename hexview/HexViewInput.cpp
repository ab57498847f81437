// The hex view's input side: caret, selection, keys, characters, mouse selection, focus and
// the insert caret's blink.

#include "hexview/ClipboardText.h"
#include "hexview/HexView.h"
#include "hexview/Navigation.h"
#include "hexview/RowCells.h"

#include <algorithm>
#include <limits>

namespace tvx {

std::uint64_t HexView::SelectionStart() const { return std::min(selectionFirst_, selectionSecond_); }
std::uint64_t HexView::SelectionEnd() const { return std::max(selectionFirst_, selectionSecond_); }

void HexView::DropSelection() {
    selectionActive_ = false;
    dragAnchor_.reset();
}

void HexView::SetCaret(std::uint64_t offset) {
    caret_ = std::min(offset, LastCaretOffset());
    if (!mouseCaptured_) DropSelection();  // a drag keeps the selection it is making
    EndPendingByte();
    EnsureCaretVisible();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

void HexView::MoveCaret(std::int64_t distance) {
    const std::uint64_t last = LastCaretOffset();
    std::uint64_t target = 0;
    if (distance < 0) {
        const std::uint64_t back = distance == std::numeric_limits<std::int64_t>::min()
                                       ? std::uint64_t{1} << 63
                                       : static_cast<std::uint64_t>(-distance);
        target = caret_ > back ? caret_ - back : 0;
    } else {
        const auto forward = static_cast<std::uint64_t>(distance);
        target = forward > last || caret_ > last - forward ? last : caret_ + forward;
    }
    SetCaret(target);
}

void HexView::SetSelection(std::uint64_t first, std::uint64_t second) {
    selectionFirst_ = std::min(first, LastByte());
    selectionSecond_ = std::min(second, LastByte());
    selectionActive_ = true;
    host_.Invalidate();
}

void HexView::SelectAll() {
    if (!DocumentOpen() || DocumentSize() == 0) return;
    EndPendingByte();
    SetSelection(0, LastByte());
    host_.PostDocumentChanged();
}

void HexView::ExtendSelectionTo(std::uint64_t target) {
    if (!DocumentOpen() || DocumentSize() == 0) return;
    SetSelection(selectionActive_ ? selectionFirst_ : caret_, target);
    caret_ = std::min(target, LastCaretOffset());
    EndPendingByte();
    EnsureCaretVisible();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

void HexView::Navigate(HexKey key, bool ctrl, bool shift) {
    const std::uint64_t page = std::min<std::uint64_t>(VisibleRowCount(), 1ull << 58) * kBytesPerRow;
    // A Shift move goes on from the selection's moving end.
    const std::uint64_t from = shift && selectionActive_ ? selectionSecond_ : caret_;
    const auto target = NavigationTarget(key, ctrl, from, LastCaretOffset(), page);
    if (!target) return;
    if (shift)
        ExtendSelectionTo(*target);
    else
        SetCaret(*target);
}

void HexView::SelectRange(std::uint64_t first, std::uint64_t last) {
    dragAnchor_.reset();
    mouseCaptured_ = false;
    SetSelection(first, last);
    caret_ = std::min(LastByte(), first);
    EndPendingByte();
    EnsureCaretVisible();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

void HexView::SetEditingEnabled(bool enabled) {
    editingEnabled_ = enabled;
    EndPendingByte();
    host_.Invalidate();
}

void HexView::ToggleMode() {
    mode_ = mode_ == EditMode::Overwrite ? EditMode::Insert : EditMode::Overwrite;
    // Overwrite mode has no position past the last byte.
    if (mode_ == EditMode::Overwrite && DocumentOpen()) caret_ = std::min(caret_, LastByte());
    EndPendingByte();
    blinkOn_ = true;
    host_.StopBlinkTimer();
    if (mode_ == EditMode::Insert && focused_) host_.StartBlinkTimer();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

bool HexView::KeyDown(HexKey key, bool ctrl, bool shift) {
    if (!DocumentOpen()) return true;  // nothing to act on: swallow every key
    const auto blocked = [this] {
        host_.PostReadOnlyBlocked();
        return true;
    };
    switch (key) {
        case HexKey::Left:
        case HexKey::Right:
        case HexKey::Up:
        case HexKey::Down:
        case HexKey::PageUp:
        case HexKey::PageDown:
        case HexKey::Home:
        case HexKey::End: Navigate(key, ctrl, shift); return true;
        case HexKey::Escape:
            if (selectionActive_) {
                DropSelection();
                host_.Invalidate();
            }
            return true;
        case HexKey::Tab:
            if (ctrl) return false;
            column_ = column_ == CaretColumn::Hex ? CaretColumn::Text : CaretColumn::Hex;
            EndPendingByte();
            typed_.Reset();
            host_.Invalidate();
            return true;
        case HexKey::Insert:
            if (!editingEnabled_) return blocked();
            ToggleMode();
            return true;
        case HexKey::Delete:
        case HexKey::Backspace:
            if (!editingEnabled_) return blocked();
            return DeleteAtCaret(key == HexKey::Backspace);
        case HexKey::A:
            if (!ctrl) return false;
            SelectAll();
            return true;
        case HexKey::C:
            if (!ctrl) return false;
            Copy();
            return true;
        case HexKey::X:
            if (!ctrl) return false;
            Cut();
            return true;
        case HexKey::V:
            if (!ctrl) return false;
            Paste();
            return true;
        case HexKey::Z:
            if (!ctrl) return false;
            if (shift)
                Redo();
            else
                Undo();
            return true;
        case HexKey::Y:
            if (!ctrl) return false;
            Redo();
            return true;
        default: return false;
    }
}

bool HexView::Char(char16_t character) {
    const bool typed = column_ == CaretColumn::Text ? character >= 0x20 && character != 0x7F
                                                    : HexDigitValue(character).has_value();
    if (!editingEnabled_) {
        if (!typed) return false;
        host_.PostReadOnlyBlocked();
        return true;
    }
    if (!DocumentOpen()) return false;
    return column_ == CaretColumn::Text ? TypeText(character) : TypeHexDigit(character);
}

void HexView::MouseDown(int x, int y, bool shift) {
    host_.TakeFocus();
    const auto hit = HitCell(x, y);
    if (!hit) return;
    if (hit->column != column_) typed_.Reset();
    column_ = hit->column;
    if (shift) {
        ExtendSelectionTo(hit->offset);
        dragAnchor_ = selectionFirst_;
    } else {
        dragAnchor_ = hit->offset;
    }
    mouseCaptured_ = true;
    host_.CaptureMouse();
    if (shift) return;
    SetSelection(hit->offset, hit->offset);
    SetCaret(hit->offset);
}
void HexView::MouseMove(int x, int y) {
    if (!mouseCaptured_ || !dragAnchor_) return;
    if (const auto hit = HitTest(x, y)) SetSelection(*dragAnchor_, *hit);
}

void HexView::MouseUp() {
    if (!mouseCaptured_) return;
    mouseCaptured_ = false;
    host_.ReleaseMouse();
}

void HexView::CaptureLost() {
    mouseCaptured_ = false;
    dragAnchor_.reset();
}

void HexView::FocusGained() {
    focused_ = true;
    blinkOn_ = true;
    host_.StopBlinkTimer();
    if (mode_ == EditMode::Insert) host_.StartBlinkTimer();
    host_.Invalidate();
}

void HexView::FocusLost() {
    focused_ = false;
    blinkOn_ = false;
    host_.StopBlinkTimer();
    host_.Invalidate();
}

void HexView::BlinkTick() {
    blinkOn_ = !blinkOn_;
    host_.Invalidate();
}

}  // namespace tvx
