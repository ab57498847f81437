#pragma once
// The hex view's state and behaviour: rows of 16 bytes, scrolling, zoom, caret, selection,
// nibble editing and copying. Every effect outside the object (repaint, scroll bars,
// notifications, timer, clipboard) goes through IHexViewHost; measurement through
// IHexMeasurer. Geometry is in device-independent pixels (DIPs); points that arrive from
// window messages are physical pixels and are converted with the view's DPI.
// Used on the user-interface thread only.

#include "document/DocumentInterfaces.h"
#include "hexview/CopyFormat.h"
#include "hexview/HexKey.h"
#include "hexview/HexMeasurer.h"
#include "hexview/HexMetrics.h"
#include "hexview/HexViewHost.h"
#include "hexview/TypedText.h"
#include "settings/Enums.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tvx {

enum class EditMode : std::int32_t { Overwrite = 0, Insert = 1 };

// The column whose cell holds the caret; the other column's cell is shown as its partner.
enum class CaretColumn { Hex, Text };

// Scroll bar requests, as the SB_* codes of WM_VSCROLL and WM_HSCROLL.
enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Track, Start, End, Other };

class HexView {
public:
    HexView(IHexViewHost& host, IHexMeasurer& measurer) : host_(host), measurer_(measurer) {}
    HexView(const HexView&) = delete;
    HexView& operator=(const HexView&) = delete;

    // --- document, font, zoom, DPI -------------------------------------------------------
    // Attaches a document (null detaches): caret, selection, scrolling reset, editing off.
    // Keeps mode, encoding, theme, font and zoom.
    void SetDocument(IReadOnlyDocument* document);
    // Point size clamped to 6..48. No effect for an empty family or an unchanged font.
    void SetFont(const std::u16string& family, float pointSize, bool bold, bool italic);
    void ComputeMetrics();
    void RecomputeMetrics();  // metrics, device resources dropped, scroll bars, repaint
    // Zoom moves by step within 0.6 to 2.5; at the limit nothing happens.
    void ChangeZoom(float step);
    // Back to 1.0, unless the zoom is already within 0.001 of it.
    void ResetZoom();
    void SetDpi(std::uint32_t dpi);  // 0 counts as 96
    void SetEncoding(TextEncoding encoding);
    void SetTheme(Theme theme);
    // Whether any byte of a range differs from the file as opened or last saved.
    using ChangedQuery = std::function<bool(std::uint64_t offset, std::uint64_t length)>;
    void SetChangedQuery(ChangedQuery query) { changed_ = std::move(query); }
    // Bit i set when the byte at rowOffset + i (i < count <= 16) is changed: one query for an
    // unchanged row, one per byte for a changed one.
    [[nodiscard]] std::uint16_t ChangedMask(std::uint64_t rowOffset, std::size_t count) const;
    // The bytes of the active query, whose matches on screen are marked; empty for none.
    void SetMarkedPattern(std::vector<std::uint8_t> pattern);
    // One mask per visible row, from TopRow() on (see MatchMarks).
    [[nodiscard]] std::vector<std::uint16_t> VisibleMatchMasks() const;

    // --- scrolling -------------------------------------------------------------------------
    void UpdateScrollBars();
    void EnsureCaretVisible();
    void SetTopRow(std::uint64_t row);
    void ScrollVertically(ScrollRequest request, std::int32_t trackPosition);
    void ScrollHorizontally(ScrollRequest request, std::int32_t trackPosition);
    void Wheel(int delta, bool ctrl);
    void Resized();

    // --- caret, selection, editing --------------------------------------------------------
    void SetCaret(std::uint64_t offset);
    void MoveCaret(std::int64_t distance);
    void SetSelection(std::uint64_t first, std::uint64_t second);
    void SelectAll();
    // Selects a found range and puts the caret at its start.
    void SelectRange(std::uint64_t first, std::uint64_t last);
    void SetEditingEnabled(bool enabled);
    [[nodiscard]] bool TypeHexDigit(char16_t character);
    [[nodiscard]] bool DeleteAtCaret(bool backspace);
    [[nodiscard]] bool DeleteSelection();
    // Copies the selection as text; false when there is none, the user declined a large
    // copy, or it failed (the host was told).
    bool CopyAs(CopyFormat format);
    bool Copy() { return CopyAs(CopyFormat::HexSpaced); }
    // Cut, Paste, Undo and Redo are refused with the read-only notice while editing is off.
    // Each is one undo step; Undo and Redo put the caret where the step's bytes are.
    void Cut();
    void Paste();
    void Undo();
    void Redo();
    // Overwrites the selection with the pattern repeated and cut at its end; the selection
    // stays. Inserts count bytes of the pattern at the caret, in either mode, and selects them.
    // Each is one undo step, refused with the read-only notice while editing is off; false
    // when nothing changed.
    bool FillSelection(std::span<const std::uint8_t> pattern);
    bool InsertRepeated(std::uint64_t count, std::span<const std::uint8_t> pattern);
    // After the document was edited from outside the view (Replace): the caret goes to caret,
    // the selection is dropped, the view repaints and tells its host.
    void DocumentEdited(std::uint64_t caret) { AfterEdit(caret); }

    // --- input, as the window procedure decodes it ---------------------------------------
    // False when the key is not the view's (the window passes it on).
    [[nodiscard]] bool KeyDown(HexKey key, bool ctrl, bool shift = false);
    [[nodiscard]] bool Char(char16_t character);
    // Physical client pixels; Shift extends the selection from its anchor to the cell.
    void MouseDown(int x, int y, bool shift = false);
    void MouseMove(int x, int y);
    void MouseUp();
    void CaptureLost();
    void FocusGained();
    void FocusLost();
    void BlinkTick();

    // --- geometry --------------------------------------------------------------------------
    [[nodiscard]] std::optional<std::uint64_t> HitTest(int x, int y) const;
    struct CellHit {
        std::uint64_t offset = 0;
        CaretColumn column = CaretColumn::Hex;
    };
    [[nodiscard]] std::optional<CellHit> HitCell(int x, int y) const;
    [[nodiscard]] std::uint64_t DocumentSize() const;
    [[nodiscard]] bool DocumentOpen() const;
    [[nodiscard]] std::uint64_t LastCaretOffset() const;
    [[nodiscard]] std::uint64_t RowCount() const;
    [[nodiscard]] std::uint64_t VisibleRowCount() const;
    [[nodiscard]] std::uint64_t MaxTopRow() const;
    [[nodiscard]] std::int32_t DataViewportWidth() const;
    [[nodiscard]] std::int32_t MaxHorizontalScroll() const;
    [[nodiscard]] float ClientWidthDips() const;
    [[nodiscard]] float ClientHeightDips() const;
    [[nodiscard]] float HexColumnLeft() const;
    [[nodiscard]] float TextColumnLeft() const;
    // Insert mode at the end of a document whose size is a non-zero multiple of 16: the
    // caret stands on a row of its own that holds no bytes.
    [[nodiscard]] bool HasEndRow() const;

    // --- state -----------------------------------------------------------------------------
    [[nodiscard]] IReadOnlyDocument* Document() const { return document_; }
    [[nodiscard]] std::uint64_t TopRow() const { return topRow_; }
    [[nodiscard]] std::int32_t HorizontalPosition() const { return horizontalPosition_; }
    [[nodiscard]] std::uint64_t Caret() const { return caret_; }
    [[nodiscard]] bool SelectionActive() const { return selectionActive_; }
    [[nodiscard]] std::uint64_t SelectionStart() const;  // the smaller end
    [[nodiscard]] std::uint64_t SelectionEnd() const;    // the larger end
    [[nodiscard]] bool NibblePending() const { return nibblePending_; }
    [[nodiscard]] CaretColumn ActiveColumn() const { return column_; }
    [[nodiscard]] EditMode Mode() const { return mode_; }
    [[nodiscard]] bool EditingEnabled() const { return editingEnabled_; }
    [[nodiscard]] bool Focused() const { return focused_; }
    [[nodiscard]] bool BlinkOn() const { return blinkOn_; }
    [[nodiscard]] TextEncoding Encoding() const { return encoding_; }
    [[nodiscard]] Theme GetTheme() const { return theme_; }
    [[nodiscard]] float Zoom() const { return zoom_; }
    [[nodiscard]] std::uint32_t Dpi() const { return dpi_; }
    [[nodiscard]] const HexMetrics& Metrics() const { return metrics_; }
    [[nodiscard]] const HexFont& Font() const { return font_; }
    // True once after SetDocument: the first paint asks for a second one.
    [[nodiscard]] bool TakeRepaintRequest();

private:
    float ToDips(int pixels) const;
    std::uint64_t LastByte() const;  // size - 1, or 0 when empty
    void ToggleMode();
    void AfterZoomChange();
    void DropSelection();
    // Forgets a half-typed byte and closes the undo step its first digit opened.
    void EndPendingByte();
    void AfterEdit(std::uint64_t caret);
    void Replay(bool undo);
    void Navigate(HexKey key, bool ctrl, bool shift);
    void ExtendSelectionTo(std::uint64_t target);
    [[nodiscard]] bool TypeText(char16_t character);

    IHexViewHost& host_;
    IHexMeasurer& measurer_;
    IReadOnlyDocument* document_ = nullptr;
    IUndoableDocument* editable_ = nullptr;
    std::uint64_t topRow_ = 0;
    std::int32_t horizontalPosition_ = 0;
    std::uint64_t caret_ = 0;
    std::uint64_t selectionFirst_ = 0;
    std::uint64_t selectionSecond_ = 0;
    bool selectionActive_ = false;
    TextEncoding encoding_ = TextEncoding::Ascii;
    Theme theme_ = Theme::Light;
    std::optional<std::uint64_t> dragAnchor_;
    std::uint8_t pendingNibble_ = 0;
    bool nibblePending_ = false;
    bool typingGroupOpen_ = false;
    CaretColumn column_ = CaretColumn::Hex;
    TypedText typed_;
    bool mouseCaptured_ = false;
    bool focused_ = false;
    bool blinkOn_ = true;
    bool repaintOnceMore_ = false;
    EditMode mode_ = EditMode::Overwrite;
    bool editingEnabled_ = false;
    std::uint32_t dpi_ = 96;
    HexMetrics metrics_;
    float zoom_ = 1.0f;
    HexFont font_;
    ChangedQuery changed_;
    std::vector<std::uint8_t> markedPattern_;
};

}  // namespace tvx
