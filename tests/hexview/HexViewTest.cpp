// The hex view on a fake host: geometry, scrolling, zoom, keys, mouse, editing and undo.
#include "tests/hexview/HexViewFakes.h"

#include <random>

namespace tvx::test {
namespace {

using Geometry = HexViewTest;
using Editing = HexViewTest;

TEST_F(Geometry, SetDocumentResetsTheViewButKeepsModeAndEncoding) {
    Open(1008);
    Editable();
    view.SetCaret(500);
    view.SetSelection(3, 9);
    ASSERT_TRUE(view.KeyDown(HexKey::Insert, false));
    view.SetEncoding(TextEncoding::Utf8);
    view.SetDocument(&document);
    EXPECT_EQ(view.Caret() + view.TopRow(), 0u);
    EXPECT_FALSE(view.SelectionActive() || view.EditingEnabled());
    EXPECT_EQ(view.Mode(), EditMode::Insert);
    EXPECT_EQ(view.Encoding(), TextEncoding::Utf8);
    EXPECT_FLOAT_EQ(view.Metrics().rowHeight, 22);
    EXPECT_GT(host.focusRequests, 0);
    EXPECT_TRUE(view.TakeRepaintRequest());
    EXPECT_FALSE(view.TakeRepaintRequest());
    view.SetCaret(1008);  // insert mode: the empty row after a full one
    EXPECT_TRUE(view.HasEndRow());
    EXPECT_EQ(view.RowCount(), 64u);
}

// (700 - 16) / 22 = 31.09 rows show; the data viewport is the width less margins, offset column
// and gap; the content is hex 480, gap 12 and text 160 wide.
TEST_F(Geometry, RowsViewportAndScrollBars) {
    const struct {
        std::int32_t width, height;
        std::uint32_t dpi;
        std::size_t size;
        std::uint64_t rows, visible;
        std::int32_t viewport;
    } cases[] = {
        {980, 700, 96, 0, 0, 31, 862},       {980, 700, 96, 16, 1, 31, 862},          {500, 126, 96, 17, 2, 5, 382},
        {50, 20, 96, 16 * 40 + 3, 41, 1, 0}, {1960, 1400, 192, 16 * 40, 40, 31, 862},
    };
    for (const auto& c : cases) {
        host.width = c.width;
        host.height = c.height;
        host.dpi = c.dpi;
        Open(c.size);
        EXPECT_EQ(view.RowCount(), c.rows);
        EXPECT_EQ(view.VisibleRowCount(), c.visible);
        EXPECT_EQ(view.MaxTopRow(), c.rows > c.visible ? c.rows - c.visible : 0);
        EXPECT_EQ(view.DataViewportWidth(), c.viewport);
        EXPECT_EQ(view.MaxHorizontalScroll(), std::max(0, 652 - c.viewport));
        EXPECT_EQ(host.vertical, (ScrollBarState{static_cast<std::int32_t>(c.rows) - (c.rows > 0),
                                                 static_cast<std::int32_t>(c.visible), 0}));
        EXPECT_EQ(host.horizontal, (ScrollBarState{651, c.viewport, 0}));
    }
    view.SetDpi(0);  // counts as 96
    EXPECT_EQ(view.Dpi(), 96u);
    EXPECT_FLOAT_EQ(view.ClientWidthDips(), 1960);
    host.width = 500;
    view.ScrollHorizontally(ScrollRequest::Track, 40);
    EXPECT_FLOAT_EQ(view.HexColumnLeft(), 110 - 40);
    EXPECT_FLOAT_EQ(view.TextColumnLeft(), 602 - 40);

    document.fakeSize_ = std::uint64_t{1} << 40;  // 2^36 rows: the range is capped
    view.SetDocument(&document);
    view.SetTopRow(std::uint64_t{1} << 35);
    EXPECT_EQ(host.vertical.max, 2147483647);
    EXPECT_EQ(host.vertical.pos, 2147483647);
    EXPECT_EQ(view.TopRow(), std::uint64_t{1} << 35);

    document.fakeSize_.reset();  // a document that shrank: caret, top row and position clamped
    view.SetCaret(5000);
    view.ScrollHorizontally(ScrollRequest::End, 0);
    document.bytes_.resize(16 * 20);
    host.width = 1960;
    view.UpdateScrollBars();
    EXPECT_EQ(view.Caret(), 16u * 20 - 1);
    EXPECT_EQ(view.TopRow(), 0u);
    EXPECT_EQ(view.HorizontalPosition(), 0);
    document.open_ = false;
    Open(64);
    view.SetCaret(10);
    EXPECT_EQ(view.Caret(), 0u);
}

// Rows scroll minimally to the caret, and its hex cell (30 DIPs a byte) into the viewport.
TEST_F(Geometry, EnsureCaretVisible) {
    host.width = 300;  // viewport 182 DIPs
    Open(16 * 100);
    const std::uint64_t steps[][3] = {
        {16 * 40, 10, 0}, {16 * 40 + 7, 10, 230 - 182}, {16 * 40 + 8, 10, 260 - 182}, {16 * 5 + 1, 5, 30},
        {16 * 99, 69, 0},
    };
    for (const auto& [caret, top, position] : steps) {
        view.SetCaret(caret);
        EXPECT_EQ(view.TopRow(), top) << caret;
        EXPECT_EQ(view.HorizontalPosition(), static_cast<std::int32_t>(position)) << caret;
    }
}

TEST_F(Geometry, ScrollRequestsWheelAndZoom) {
    using R = ScrollRequest;
    Open(16 * 100);  // max top row 69, page 31
    const std::tuple<R, int, std::uint64_t> vertical[] = {
        {R::LineBack, 0, 0},     {R::LineForward, 0, 1}, {R::PageForward, 0, 32}, {R::PageForward, 0, 63},
        {R::PageForward, 0, 69}, {R::PageBack, 0, 38},   {R::Track, 12, 12},      {R::PageBack, 0, 0},
        {R::End, 0, 69},         {R::Other, 0, 69},      {R::Start, 0, 0},        {R::Track, 500, 69},
    };
    for (const auto& [request, track, row] : vertical) {
        view.ScrollVertically(request, track);
        EXPECT_EQ(view.TopRow(), row);
        EXPECT_EQ(host.vertical.pos, static_cast<std::int32_t>(row));
    }
    EXPECT_EQ(host.events.documentChanged, 12);
    for (const auto& [delta, row] : {std::pair{-120, 72u}, {-960, 72}, {120, 66}, {120, 63}}) {
        view.Wheel(delta, false);  // three rows whatever the delta
        EXPECT_EQ(view.TopRow(), std::min<std::uint64_t>(row, 69));
    }

    host.width = 500;  // page 382, max 270
    Open(100);
    const std::tuple<R, int, int> horizontal[] = {
        {R::LineForward, 0, 10}, {R::LineBack, 0, 0}, {R::LineBack, 0, 0}, {R::PageForward, 0, 270},
        {R::Track, 100, 100},    {R::PageBack, 0, 0}, {R::End, 0, 270},    {R::Start, 0, 0},
        {R::Track, 9999, 270},   {R::Other, 0, 270},
    };
    for (const auto& [request, track, position] : horizontal) {
        view.ScrollHorizontally(request, track);
        EXPECT_EQ(view.HorizontalPosition(), position);
        EXPECT_EQ(host.horizontal.pos, position);
    }
    EXPECT_EQ(host.events.documentChanged, 0);  // no notification for horizontal scrolling

    view.Wheel(120, true);
    EXPECT_FLOAT_EQ(view.Zoom(), 1.1f);
    view.Wheel(-120, true);
    view.Wheel(0, true);  // a zero delta zooms out
    EXPECT_FLOAT_EQ(view.Zoom(), 0.9f);
    EXPECT_EQ(host.events.viewStatusChanged, 3);
    for (int i = 0; i < 30; ++i) view.ChangeZoom(-0.1f);
    EXPECT_FLOAT_EQ(view.Zoom(), 0.6f);
    for (int i = 0; i < 37; ++i) view.ChangeZoom(0.05f);  // 2.45
    view.ChangeZoom(0.1f);                                // lands on the limit
    EXPECT_FLOAT_EQ(view.Metrics().fontSize, 40);
    host.events = {};
    view.ChangeZoom(0.1f);
    view.ChangeZoom(-0.0005f);  // below the step threshold
    view.ResetZoom();
    view.ResetZoom();  // already 1: nothing
    EXPECT_FLOAT_EQ(view.Zoom(), 1.0f);
    EXPECT_EQ(host.events.viewStatusChanged, 1);

    host.width = 20;
    measurer.advance = 0.4f;  // the line step is the cell rounded, at least 1
    Open(100);
    view.ScrollHorizontally(ScrollRequest::LineForward, 0);
    EXPECT_EQ(view.HorizontalPosition(), 1);
}

TEST_F(Geometry, FontSizeIsClampedAndAnUnchangedFontDoesNothing) {
    Open(100);
    view.SetFont(u"Mono", 100, false, false);
    EXPECT_FLOAT_EQ(view.Metrics().baseFontSize, 64);
    view.SetFont(u"Mono", 12, false, false);
    host.events = {};
    view.SetFont(u"MONO", 12.004f, false, false);  // case and a tiny size difference do not count
    view.SetFont(u"", 20, true, true);             // an empty family is ignored
    EXPECT_EQ(host.events.documentChanged, 0);
    view.SetFont(u"Mono", 12, false, true);
    EXPECT_EQ(host.events.documentChanged, 1);
    EXPECT_TRUE(view.Font().italic);
    view.SetFont(u"Mono", 4, false, true);
    EXPECT_FLOAT_EQ(view.Metrics().baseFontSize, 8);
}

// Row 0 spans y 8..30; hex cells at 110 + 30 i, the space after a cell belonging to it; text
// cells at 602 + 10 i. The last row of 100 bytes holds offsets 96..99.
TEST_F(Geometry, HitTestFindsCellsUpToTheLastByte) {
    Open(100);
    const std::tuple<int, int, std::optional<std::uint64_t>> cases[] = {
        {110, 8, 0},    {139, 29, 0},   {140, 30, 17},  {589, 8, 15},   {602, 8, 0},  {761, 52, 47},
        {200, 140, 99}, {230, 140, {}}, {642, 140, {}}, {120, 162, {}}, {50, 10, {}},  // offset column
        {105, 10, {}},  {595, 10, {}},  {762, 10, {}},                                 // gaps, right of the text column
        {120, 7, {}},   {120, 692, {}},                                                // margins
    };
    for (const auto& [x, y, offset] : cases) EXPECT_EQ(view.HitTest(x, y), offset) << x << ", " << y;
    Open(0);
    EXPECT_EQ(view.HitTest(110, 8), std::nullopt);
    host.dpi = 144;  // pixels x 2/3 are DIPs
    host.width = 1470;
    host.height = 1050;
    Open(16 * 100);
    view.SetTopRow(10);
    EXPECT_EQ(view.HitTest(3 * 140 / 2, 3 * 8 / 2), 161u);
}

// Keys, digits and edits against a model of the bytes, caret, selection, half-typed digit and
// history, where every user action is one undo step. A page is 31 rows.
struct EditModel {
    Bytes bytes;
    std::uint64_t caret = 0, anchor = 0, moving = 0;
    bool selected = false, insert = false;
    std::optional<int> digit;
    struct Step {
        Bytes before, after;
        std::uint64_t offset;
    };
    std::vector<Step> undo, redo;

    std::uint64_t Last() const { return insert ? bytes.size() : bytes.empty() ? 0 : bytes.size() - 1; }
    void SetCaret(std::uint64_t at) {
        caret = std::min(at, Last());
        selected = false;
        digit.reset();
    }
    void Select(std::uint64_t first, std::uint64_t second) {
        anchor = std::min<std::uint64_t>(first, bytes.size() - 1);
        moving = std::min<std::uint64_t>(second, bytes.size() - 1);
        selected = true;
        digit.reset();
    }
    // A step of its own, unless it continues a half-typed byte.
    void Edit(std::uint64_t offset, std::uint64_t removed, const Bytes& added, bool continues = false) {
        if (!continues) undo.push_back({bytes, {}, offset});
        const auto at = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
        bytes.insert(bytes.erase(at, at + static_cast<std::ptrdiff_t>(removed)), added.begin(), added.end());
        undo.back().after = bytes;
        redo.clear();
    }
    void Digit(int d) {
        if (!insert && caret < bytes.size()) {
            const bool first = !digit;
            Edit(caret, 1, {static_cast<std::uint8_t>(first ? (bytes[caret] & 0x0F) | d << 4 : *digit * 16 + d)},
                 !first);
            digit = first ? std::optional(d) : std::nullopt;
            if (!first && caret + 1 < bytes.size()) SetCaret(caret + 1);
        } else if (insert && !digit) {
            digit = d;
        } else if (insert) {
            Edit(caret, 0, {static_cast<std::uint8_t>(*digit * 16 + d)});
            SetCaret(caret + 1);
        }
    }
    void Delete(bool backspace) {
        if (bytes.empty()) return;
        digit.reset();
        const std::uint64_t first = std::min(anchor, moving);
        if (selected) {
            Edit(first, std::max(anchor, moving) - first + 1, {});
            return SetCaret(first);
        }
        if (backspace ? caret == 0 : caret >= bytes.size()) return;
        Edit(caret - backspace, 1, {});
        SetCaret(caret - backspace);
    }
    void Move(HexKey key, bool ctrl, bool shift) {
        const std::uint64_t from = std::min(shift && selected ? moving : caret, Last()), row = from - from % 16;
        const std::int64_t steps[] = {-1, 1, -16, 16, -16 * 31, 16 * 31};
        std::uint64_t to = key == HexKey::Home ? (ctrl ? 0 : row) : ctrl ? Last() : std::min(Last(), row + 15);
        if (key < HexKey::Home) {
            const std::int64_t step = steps[static_cast<int>(key)];
            to = step < 0 ? from - std::min<std::uint64_t>(from, -step) : std::min(from + step, Last());
        }
        if (!shift) return SetCaret(to);
        if (bytes.empty()) return;
        Select(selected ? anchor : caret, to);
        caret = to;
    }
    void Paste(const Bytes& added) {
        digit.reset();
        const std::uint64_t at = selected ? std::min(anchor, moving) : caret;
        if (selected)
            Edit(at, std::max(anchor, moving) - at + 1, added);
        else if (insert)
            Edit(at, 0, added);
        else if (at < bytes.size() && bytes.size() - at >= added.size())
            Edit(at, added.size(), added);
        else
            return;
        SetCaret(at + added.size());
    }
    void Fill(std::uint64_t count, std::uint8_t value, bool insertIt) {
        if (!insertIt && !selected) return;
        const std::uint64_t first = insertIt ? caret : std::min(anchor, moving);
        const std::uint64_t last = insertIt ? caret + count - 1 : std::max(anchor, moving);
        Edit(first, insertIt ? 0 : last - first + 1, Bytes(last - first + 1, value));
        SetCaret(first);
        Select(first, last);
    }
    void Replay(bool back) {
        digit.reset();
        auto& from = back ? undo : redo;
        if (from.empty()) return;
        (back ? redo : undo).push_back(from.back());
        from.pop_back();
        bytes = back ? redo.back().before : undo.back().after;
        SetCaret(back ? redo.back().offset : undo.back().offset);
    }
};

// The selection's ends, or none.
std::pair<std::uint64_t, std::uint64_t> Selection(bool active, std::uint64_t a, std::uint64_t b) {
    return active ? std::pair{std::min(a, b), std::max(a, b)} : std::pair<std::uint64_t, std::uint64_t>{};
}

TEST_F(Editing, KeysDigitsAndEditsAgreeWithAModel) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        document = MemoryDocument();
        Open(round % 5 == 0 ? 600 + random() % 100 : random() % 20);
        Editable();
        if (view.Mode() == EditMode::Insert) (void)view.KeyDown(HexKey::Insert, false);
        EditModel model;
        model.bytes = document.bytes_;
        std::string actions;  // for the message
        for (int action = 0; action < 60; ++action) {
            const unsigned choice = random() % 16;
            const bool ctrl = random() % 2, shift = random() % 2;
            const auto value = static_cast<std::uint8_t>(random());
            const std::uint64_t count = 1 + random() % 3;
            actions += "dddDBnnnnIPXFRZY"[choice];
            if (choice < 3) {
                (void)view.Char(u"0123456789abcDEF"[value % 16]);
                model.Digit(value % 16);
            } else if (choice < 5) {
                (void)view.KeyDown(choice == 4 ? HexKey::Backspace : HexKey::Delete, false);
                model.Delete(choice == 4);
            } else if (choice < 9) {
                const auto key = static_cast<HexKey>(value % 8);
                actions += std::to_string(value % 8) + (ctrl ? "^" : "") + (shift ? "+" : "");
                (void)view.KeyDown(key, ctrl, shift);
                model.Move(key, ctrl, shift);
            } else if (choice == 9) {
                (void)view.KeyDown(HexKey::Insert, false);
                model.insert = !model.insert;
                model.caret = std::min(model.caret, model.Last());
                model.digit.reset();
            } else if (choice == 10) {
                const Bytes added(count, value);
                host.clipboard = {FormatCopyText(added, CopyFormat::HexSpaced)};
                view.Paste();
                model.Paste(added);
            } else if (choice == 11) {
                (void)view.KeyDown(shift ? HexKey::A : HexKey::X, true);
                if (shift && !model.bytes.empty()) model.Select(0, model.bytes.size() - 1);
                if (!shift && model.selected) model.Delete(false);
            } else if (choice < 14) {
                (void)(choice == 12 ? view.FillSelection(Bytes{value}) : view.InsertRepeated(count, Bytes{value}));
                model.Fill(count, value, choice == 13);
            } else {
                (void)view.KeyDown(choice == 14 ? HexKey::Z : HexKey::Y, true, shift);
                model.Replay(choice == 14 && !shift);
            }
            const std::string where = "round " + std::to_string(round) + ": " + actions;
            ASSERT_EQ(document.bytes_, model.bytes) << where;
            ASSERT_EQ(view.Caret(), model.caret) << where;
            ASSERT_EQ(view.NibblePending(), model.digit.has_value()) << where;
            ASSERT_EQ(Selection(view.SelectionActive(), view.SelectionStart(), view.SelectionEnd()),
                      Selection(model.selected, model.anchor, model.moving))
                << where;
        }
    }
}

// Read-only, every edit is refused with the notice and changes nothing; other characters and
// keys are passed on, and without an open document every key is swallowed.
TEST_F(Editing, RefusalsChangeNothing) {
    EXPECT_TRUE(view.KeyDown(HexKey::Other, false));  // no document
    Open(8);
    host.clipboard = {u"AA BB"};
    view.SetSelection(0, 1);
    for (HexKey key : {HexKey::Insert, HexKey::Delete, HexKey::Backspace}) EXPECT_TRUE(view.KeyDown(key, false));
    for (HexKey key : {HexKey::Z, HexKey::Y, HexKey::X, HexKey::V}) EXPECT_TRUE(view.KeyDown(key, true));
    EXPECT_TRUE(view.Char(u'b'));
    EXPECT_FALSE(view.Char(u'g'));
    EXPECT_FALSE(view.Char(u' '));
    EXPECT_FALSE(view.FillSelection(Bytes{0}));
    EXPECT_FALSE(view.InsertRepeated(3, Bytes{0}));
    EXPECT_EQ(host.events.readOnlyBlocked, 10);
    for (const HexKey key : {HexKey::C, HexKey::A, HexKey::X, HexKey::V, HexKey::Z, HexKey::Y, HexKey::Other})
        EXPECT_FALSE(view.KeyDown(key, false));
    EXPECT_FALSE(view.KeyDown(HexKey::Tab, true));

    Editable();
    view.SetCaret(7);
    view.Paste();  // two bytes from the last one: past the end
    host.clipboard = {u"é"};
    view.Paste();  // not ASCII
    EXPECT_EQ(host.refusals, (std::vector<PasteRefusal>{PasteRefusal::PastEnd, PasteRefusal::NotEncodable}));
    EXPECT_FALSE(view.FillSelection(Bytes{1}));  // no selection
    view.SetSelection(0, 1);
    EXPECT_FALSE(view.FillSelection({}));  // no pattern
    EXPECT_FALSE(view.InsertRepeated(0, Bytes{1}));
    view.Undo();  // nothing to undo
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(view.Caret(), 7u);

    document.open_ = false;
    view.SetDocument(&document);
    for (HexKey key : {HexKey::Left, HexKey::Insert, HexKey::C, HexKey::Other}) EXPECT_TRUE(view.KeyDown(key, true));
    Open(0);
    Editable();
    EXPECT_FALSE(view.DeleteAtCaret(false));
    EXPECT_FALSE(view.DeleteAtCaret(true));
}

// An edit the document refuses changes nothing and is passed on; a half-typed byte waits.
TEST_F(Editing, FailedEditsChangeNothing) {
    Open(10);
    InsertMode();
    EXPECT_TRUE(view.Char(u'1'));
    document.failEdits_ = true;
    EXPECT_FALSE(view.Char(u'2'));
    EXPECT_TRUE(view.NibblePending());
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    view.SetCaret(5);
    host.events = {};
    EXPECT_FALSE(view.Char(u'1'));
    EXPECT_FALSE(view.NibblePending());
    EXPECT_FALSE(view.KeyDown(HexKey::Delete, false));
    EXPECT_FALSE(view.KeyDown(HexKey::Backspace, false));
    view.SetSelection(2, 5);
    EXPECT_FALSE(view.DeleteSelection());
    EXPECT_TRUE(view.SelectionActive());
    EXPECT_EQ(view.Caret(), 5u);
    EXPECT_EQ(host.events.documentChanged, 0);
}

TEST_F(Editing, TextColumnTakesTypedAndPastedText) {
    Open(8);
    view.MouseDown(610 + 10 * 2, 8);  // text cell of offset 2
    view.MouseUp();
    EXPECT_EQ(view.ActiveColumn(), CaretColumn::Text);
    EXPECT_TRUE(view.Char(u'H'));  // read-only: refused with the notice
    EXPECT_EQ(host.events.readOnlyBlocked, 1);
    Editable();
    view.SetEncoding(TextEncoding::Utf16Le);
    EXPECT_TRUE(view.Char(u'H'));
    EXPECT_TRUE(view.Char(u'i'));
    EXPECT_EQ(view.Caret(), 6u);
    view.SetCaret(7);
    EXPECT_TRUE(view.Char(u'!'));  // would run past the end: nothing written
    EXPECT_FALSE(view.Char(u'\r'));
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 'H', 0, 'i', 0, 6, 7}));
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    view.SetEncoding(TextEncoding::Utf8);
    view.SetCaret(0);
    EXPECT_TRUE(view.Char(u'é'));
    host.clipboard = {u"Hi!"};
    view.Paste();
    EXPECT_EQ(document.bytes_, (Bytes{0xC3, 0xA9, 'H', 'i', '!', 0, 1, 'H', 0, 'i', 0, 6, 7}));
    EXPECT_EQ(view.Caret(), 5u);
    EXPECT_TRUE(view.KeyDown(HexKey::Z, true));
    EXPECT_EQ(view.Caret(), 2u);
    EXPECT_TRUE(view.KeyDown(HexKey::Tab, false));
    EXPECT_EQ(view.ActiveColumn(), CaretColumn::Hex);
    EXPECT_FALSE(view.Char(u'x'));  // the hex column takes digits only
}

TEST_F(Editing, MouseSelectionEscapeAndCopy) {
    Open(100);
    view.MouseDown(110 + 30 * 3, 8 + 22);  // offset 19
    EXPECT_EQ(view.Caret(), 19u);
    EXPECT_TRUE(host.captured);
    view.MouseMove(602 + 10 * 2, 8);  // 2: the selection grows, the caret stays
    view.MouseMove(40, 8);            // offset column: the selection stays
    view.MouseUp();
    EXPECT_FALSE(host.captured);
    view.CaptureLost();
    view.MouseMove(110, 8);  // no longer dragging
    EXPECT_EQ(Selection(true, view.SelectionStart(), view.SelectionEnd()), Selection(true, 2, 19));
    EXPECT_EQ(view.Caret(), 19u);
    view.SetCaret(1);
    view.MouseDown(110 + 30 * 3, 8 + 22 * 2, true);  // Shift: from the caret to offset 35
    view.MouseDown(110, 8, true);                    // then to 0: the anchor stays
    view.MouseUp();
    EXPECT_EQ(Selection(true, view.SelectionStart(), view.SelectionEnd()), Selection(true, 0, 1));
    const int focusRequests = host.focusRequests;
    view.MouseDown(30, 30);  // outside the columns: only the focus
    EXPECT_EQ(host.focusRequests, focusRequests + 1);
    EXPECT_TRUE(view.KeyDown(HexKey::C, true));
    EXPECT_EQ(host.clipboard, (std::vector<std::u16string>{u"00 01"}));
    host.events = {};
    EXPECT_TRUE(view.KeyDown(HexKey::Escape, false));
    EXPECT_TRUE(view.KeyDown(HexKey::Escape, false));  // always swallowed; one repaint
    EXPECT_EQ(host.events.invalidates, 1);
    EXPECT_TRUE(view.KeyDown(HexKey::C, true));  // no selection: nothing copied
    EXPECT_EQ(host.clipboard.size(), 1u);

    Open(16 * 100);
    view.SelectRange(1000, 1003);  // a found range: the caret at its start, in view
    EXPECT_EQ(view.Caret(), 1000u);
    EXPECT_EQ(view.SelectionEnd(), 1003u);
    EXPECT_EQ(host.events.documentChanged, 1);
    EXPECT_LE(view.TopRow(), 1000u / 16);
    EXPECT_GT(view.TopRow() + view.VisibleRowCount(), 1000u / 16);
}

// Above 16 MiB the user is asked first; a declined copy writes nothing, and a declined cut
// deletes nothing.
TEST_F(Editing, LargeSelectionsAskFirst) {
    Open(4);
    view.SetSelection(1, 2);
    EXPECT_TRUE(view.CopyAs(CopyFormat::HexCompact));
    EXPECT_EQ(host.clipboard, (std::vector<std::u16string>{u"0102"}));
    EXPECT_TRUE(host.largeCopyQuestions.empty());
    document.fakeSize_ = kLargeCopyBytes + 1;
    Editable();
    view.SelectAll();
    view.Cut();
    EXPECT_EQ(host.largeCopyQuestions, (std::vector<std::uint64_t>{kLargeCopyBytes + 1}));
    EXPECT_EQ(document.GetSize(), kLargeCopyBytes + 1);
    EXPECT_EQ(host.clipboard.size(), 1u);
    host.largeCopyAllowed = true;
    EXPECT_TRUE(view.CopyAs(CopyFormat::Base64));
    ASSERT_EQ(host.clipboard.size(), 2u);
    EXPECT_EQ(host.clipboard.back().size(), (kLargeCopyBytes + 3) / 3 * 4);
    EXPECT_EQ(host.copyFailures, 0);
}

TEST_F(Editing, InsertCaretBlinksOnlyWithFocusAndChangedBytesAreMarked) {
    Open(40);
    Editable();
    view.FocusGained();
    EXPECT_FALSE(host.timerRunning);
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    EXPECT_TRUE(host.timerRunning && view.BlinkOn());
    view.BlinkTick();
    EXPECT_FALSE(view.BlinkOn());
    view.FocusLost();
    EXPECT_FALSE(host.timerRunning || view.BlinkOn() || view.Focused());
    view.FocusGained();
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    EXPECT_FALSE(host.timerRunning);

    int queries = 0;
    view.SetChangedQuery([&](std::uint64_t offset, std::uint64_t length) {
        ++queries;
        return offset < 35 && offset + length > 17 && offset != 18;  // 17 and 19..34 changed
    });
    EXPECT_EQ(view.ChangedMask(0, 16), 0);
    EXPECT_EQ(queries, 1);  // one query for an unchanged row
    EXPECT_EQ(view.ChangedMask(16, 16), 0xFFFA);
    EXPECT_EQ(view.ChangedMask(32, 8), 0x0007);
    view.SetMarkedPattern({3, 4});
    EXPECT_EQ(view.VisibleMatchMasks(), (std::vector<std::uint16_t>{0x0018, 0, 0}));
}

}  // namespace
}  // namespace tvx::test
