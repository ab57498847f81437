// The hex view's edits: hex digits and text typed at the caret, deleting, copying, cutting,
// pasting, undo and redo. Each user action is one undo step of the document.

#include "document/EditGroup.h"
#include "hexview/ClipboardText.h"
#include "hexview/HexView.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tvx {

void HexView::EndPendingByte() {
    nibblePending_ = false;
    if (!std::exchange(typingGroupOpen_, false)) return;
    if (editable_) editable_->EndEditGroup();
}

// After an edit that may change the size: the caret at its new place, no selection.
void HexView::AfterEdit(std::uint64_t caret) {
    EndPendingByte();
    RecomputeMetrics();  // the offset column may widen
    caret_ = std::min(caret, LastCaretOffset());
    DropSelection();
    EnsureCaretVisible();
    host_.Invalidate();
    host_.PostDocumentChanged();
}

bool HexView::TypeHexDigit(char16_t character) {
    if (!editable_ || !editable_->IsOpen()) return false;
    const auto digit = HexDigitValue(character);
    if (!digit) return false;

    if (mode_ == EditMode::Overwrite) {
        const ByteBlock block = editable_->ReadBytes(caret_, 1);
        if (block.bytes.empty()) return false;
        // The first digit replaces the high nibble at once, so the byte is visibly changing;
        // both digits are one undo step.
        const bool first = !nibblePending_;
        const auto value = static_cast<std::uint8_t>(first ? (block.bytes[0] & 0x0F) | *digit << 4
                                                           : pendingNibble_ * 16 + *digit);
        if (first) {
            editable_->BeginEditGroup();
            typingGroupOpen_ = true;
        }
        if (!editable_->OverwriteByte(caret_, value)) {
            if (first) EndPendingByte();
            return false;
        }
        if (first) {
            pendingNibble_ = *digit;
            nibblePending_ = true;
        } else {
            EndPendingByte();
            const std::uint64_t size = editable_->GetSize();
            if (size != 0 && caret_ < size - 1) {
                SetCaret(caret_ + 1);
                return true;
            }
        }
        host_.Invalidate();
        host_.PostDocumentChanged();
        return true;
    }

    if (!nibblePending_) {  // insert mode writes nothing until the byte is complete
        pendingNibble_ = *digit;
        nibblePending_ = true;
        host_.Invalidate();
        host_.PostDocumentChanged();
        return true;
    }
    if (!editable_->InsertByte(caret_, static_cast<std::uint8_t>(pendingNibble_ * 16 + *digit))) return false;
    AfterEdit(caret_ + 1);
    return true;
}

bool HexView::TypeText(char16_t character) {
    if (!editable_ || !editable_->IsOpen()) return false;
    const auto bytes = typed_.Take(character, encoding_);
    if (!bytes) return false;
    if (bytes->empty()) return true;  // half of a surrogate pair
    const std::uint64_t size = editable_->GetSize();
    if (mode_ == EditMode::Overwrite) {
        if (caret_ >= size || size - caret_ < bytes->size()) return true;  // would run past the end
        if (!editable_->OverwriteBytes(caret_, *bytes)) return false;
    } else if (!editable_->InsertBytes(caret_, *bytes)) {
        return false;
    }
    AfterEdit(caret_ + bytes->size());
    return true;
}

bool HexView::DeleteAtCaret(bool backspace) {
    if (!editable_ || !editable_->IsOpen() || editable_->GetLogicalSize() == 0) return false;
    EndPendingByte();  // a half-typed byte is an undo step of its own
    if (selectionActive_) return DeleteSelection();
    std::uint64_t position = caret_;
    if (backspace) {
        if (caret_ == 0) return true;
        position = caret_ - 1;
    } else if (caret_ >= editable_->GetLogicalSize()) {
        return true;  // insert mode at the end: nothing after the caret
    }
    if (!editable_->DeleteByte(position)) return false;
    AfterEdit(backspace ? position : caret_);
    return true;
}

bool HexView::DeleteSelection() {
    if (!selectionActive_ || !editable_ || !editable_->IsOpen()) return false;
    EndPendingByte();
    const std::uint64_t first = SelectionStart();
    if (!editable_->DeleteBytes(first, SelectionEnd() - first + 1)) return false;
    AfterEdit(first);
    return true;
}

bool HexView::CopyAs(CopyFormat format) {
    if (!selectionActive_ || !DocumentOpen()) return false;
    const std::uint64_t first = SelectionStart();
    const std::uint64_t count = SelectionEnd() - first + 1;
    if (count > kLargeCopyBytes && !host_.ConfirmLargeCopy(count)) return false;
    // A huge selection may not fit in memory as bytes or as text: refused, never a crash.
    try {
        const ByteBlock block = document_->ReadBytes(first, count);
        if (block.bytes.size() == count) {
            host_.CopyToClipboard(FormatCopyText(block.bytes, format));
            return true;
        }
    } catch (const std::bad_alloc&) {
    }
    host_.PostCopyFailed();
    return false;
}

void HexView::Cut() {
    if (!DocumentOpen()) return;
    if (!editingEnabled_) return host_.PostReadOnlyBlocked();
    if (Copy()) (void)DeleteSelection();
}

void HexView::Paste() {
    if (!DocumentOpen() || !editable_) return;
    if (!editingEnabled_) return host_.PostReadOnlyBlocked();
    const auto text = host_.ClipboardText();
    if (!text) return;
    const PasteBytes paste = BytesToPaste(*text, encoding_);
    if (paste.error == PasteError::NotEncodable) return host_.PostPasteRefused(PasteRefusal::NotEncodable);
    if (paste.bytes.empty()) return;
    EndPendingByte();
    const std::uint64_t count = paste.bytes.size();
    std::uint64_t at = caret_;
    if (selectionActive_) {  // the selection is replaced, in either mode
        at = SelectionStart();
        EditGroup group(*editable_);
        if (!editable_->DeleteBytes(at, SelectionEnd() - at + 1) || !editable_->InsertBytes(at, paste.bytes)) return;
    } else if (mode_ == EditMode::Insert) {
        if (!editable_->InsertBytes(at, paste.bytes)) return;
    } else {
        const std::uint64_t size = editable_->GetSize();
        if (at >= size || size - at < count) return host_.PostPasteRefused(PasteRefusal::PastEnd);
        if (!editable_->OverwriteBytes(at, paste.bytes)) return;
    }
    AfterEdit(at + count);
}

bool HexView::FillSelection(std::span<const std::uint8_t> pattern) {
    if (!DocumentOpen() || !editable_ || !selectionActive_ || pattern.empty()) return false;
    if (!editingEnabled_) {
        host_.PostReadOnlyBlocked();
        return false;
    }
    EndPendingByte();
    const std::uint64_t first = SelectionStart(), last = SelectionEnd();
    if (!editable_->OverwriteRepeated(first, last - first + 1, pattern)) return false;
    AfterEdit(first);
    SetSelection(first, last);
    return true;
}

bool HexView::InsertRepeated(std::uint64_t count, std::span<const std::uint8_t> pattern) {
    if (!DocumentOpen() || !editable_ || count == 0 || pattern.empty()) return false;
    if (!editingEnabled_) {
        host_.PostReadOnlyBlocked();
        return false;
    }
    EndPendingByte();
    const std::uint64_t at = caret_;
    if (!editable_->InsertRepeated(at, count, pattern)) return false;
    AfterEdit(at);
    SetSelection(at, at + count - 1);
    return true;
}

void HexView::Undo() { Replay(true); }
void HexView::Redo() { Replay(false); }

void HexView::Replay(bool undo) {
    if (!DocumentOpen() || !editable_) return;
    if (!editingEnabled_) return host_.PostReadOnlyBlocked();
    EndPendingByte();
    const auto range = undo ? editable_->Undo() : editable_->Redo();
    if (range) AfterEdit(range->offset);
}

}  // namespace tvx
