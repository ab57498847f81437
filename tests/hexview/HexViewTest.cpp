// The hex view on a fake host: geometry, scrolling, zoom, keys, mouse, editing and undo.
#include "tests/hexview/HexViewFakes.h"

#include <random>

namespace tvx::test {
namespace {

using Geometry = HexViewTest;
using Editing = HexViewTest;

TEST_F(Geometry, SetDocumentResetsTheViewButKeepsModeAndEncoding) {
    EXPECT_TRUE(view.KeyDown(HexKey::Other, false));  // no document: every key is swallowed
    Open(1008);
    Editable();
    view.SetCaret(500);
    view.SetSelection(3, 9);
    ASSERT_TRUE(view.KeyDown(HexKey::Insert, false));
    view.SetEncoding(TextEncoding::Utf8);
    view.SetDocument(document.get());
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

    MemoryDocument closed(Bytes(64));  // a closed document: no caret moves, every key swallowed
    closed.open = false;
    view.SetDocument(&closed);
    view.SetCaret(10);
    EXPECT_EQ(view.Caret(), 0u);
    for (HexKey key : {HexKey::Left, HexKey::Insert, HexKey::C, HexKey::Other}) EXPECT_TRUE(view.KeyDown(key, true));
    view.SetDocument(nullptr);
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

    MemoryDocument huge;
    huge.claimedSize = std::uint64_t{1} << 40;  // 2^36 rows: the range is capped
    view.SetDocument(&huge);
    view.SetTopRow(std::uint64_t{1} << 35);
    EXPECT_EQ(host.vertical.max, 2147483647);
    EXPECT_EQ(host.vertical.pos, 2147483647);
    EXPECT_EQ(view.TopRow(), std::uint64_t{1} << 35);

    host.width = 500;  // a document that shrank: caret, top row and position clamped
    Open(16 * 40);
    view.SetCaret(5000);
    view.ScrollHorizontally(ScrollRequest::End, 0);
    ASSERT_TRUE(document->DeleteBytes(16 * 20, 16 * 20));
    host.width = 1960;
    view.UpdateScrollBars();
    EXPECT_EQ(view.Caret(), 16u * 20 - 1);
    EXPECT_EQ(view.TopRow(), 0u);
    EXPECT_EQ(view.HorizontalPosition(), 0);
}

// Random requests to both scroll bars against a model: a line (a row, a cell of 10 DIPs), a
// page (31 rows, the viewport of 382 DIPs), a track position and the ends, clamped to the range.
// A caret set elsewhere scrolls its row and hex cell (two digits of 10 DIPs, a byte every 30)
// minimally into view. Only horizontal scrolling does not notify.
TEST_F(Geometry, ScrollingAgreesWithAModel) {
    host.width = 500;
    Open(16 * 100);
    std::mt19937 random(3);
    std::int64_t position[2] = {0, 0};  // horizontal, vertical
    int notices = 0;
    for (int step = 0; step < 600; ++step) {
        const unsigned kind = random() % 3;  // horizontal, vertical, caret
        const auto request = static_cast<ScrollRequest>(random() % 8);
        const auto track = static_cast<std::int32_t>(random() % 400);
        if (kind == 2) {
            const std::uint64_t caret = random() % 1600;
            const auto row = static_cast<std::int64_t>(caret / 16), left = static_cast<std::int64_t>(30 * (caret % 16));
            position[1] = std::clamp(position[1], row - 30, row);
            position[0] = std::clamp(position[0], left + 20 - 382, left);
            view.SetCaret(caret);
        } else {
            const std::int64_t line = kind ? 1 : 10, page = kind ? 31 : 382, max = kind ? 69 : 270, at = position[kind];
            const std::int64_t moves[] = {-line, line, -page, page, track - at, -at, max};
            if (request != ScrollRequest::Other)
                position[kind] = std::clamp<std::int64_t>(at + moves[int(request)], 0, max);
            (kind ? view.ScrollVertically(request, track) : view.ScrollHorizontally(request, track));
        }
        notices += kind != 0;
        ASSERT_EQ(view.HorizontalPosition(), position[0]) << step;
        ASSERT_EQ(host.horizontal.pos, position[0]) << step;
        ASSERT_EQ(view.TopRow(), static_cast<std::uint64_t>(position[1])) << step;
        ASSERT_EQ(host.vertical.pos, position[1]) << step;
        ASSERT_EQ(host.events.documentChanged, notices) << step;
    }
    view.ScrollVertically(ScrollRequest::End, 0);
    for (const auto& [delta, row] : {std::pair{-120, 72u}, {-960, 72}, {120, 66}, {120, 63}}) {
        view.Wheel(delta, false);  // three rows whatever the delta
        EXPECT_EQ(view.TopRow(), std::min<std::uint64_t>(row, 69));
    }
    host.width = 20;
    measurer.advance = 0.4f;  // the line step is the cell rounded, at least 1
    Open(100);
    view.ScrollHorizontally(ScrollRequest::LineForward, 0);
    EXPECT_EQ(view.HorizontalPosition(), 1);
}

TEST_F(Geometry, ZoomStaysWithinItsLimits) {
    Open(100);
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

// Characters, keys, clipboard and edits against a model of the bytes, caret, selection, column,
// half-typed digit, clipboard and history, where every user action is one undo step. Editing
// can be off (every edit refused with the notice) and the document can refuse edits (nothing
// changes). The text column types ASCII or UTF-16LE. The insert caret blinks only with the
// focus. A page is 31 rows.
constexpr char16_t kTyped[] = u"0123456789abcDEFx\u00E9\r";  // the first 16 are hex digits

struct EditModel {
    Bytes bytes;
    std::uint64_t caret = 0, anchor = 0, moving = 0;
    bool selected = false, insert = false, text = false, utf16 = false, readOnly = false, failing = false;
    bool focused = false, blink = false;
    std::optional<int> digit;
    std::optional<Bytes> paste;  // what pasting the clipboard gives; none when not encodable
    std::u16string clipboard;
    int blocked = 0;
    std::vector<PasteRefusal> refusals;
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
    std::uint64_t Low() const { return std::min(anchor, moving); }
    std::uint64_t Length() const { return std::max(anchor, moving) - Low() + 1; }
    bool Blocked() {
        blocked += readOnly;
        return readOnly;
    }
    std::optional<Bytes> Encode(std::u16string_view text) const {
        Bytes bytes;
        for (const char16_t c : text) {
            if (!utf16 && c > 0x7E) return std::nullopt;
            bytes.push_back(static_cast<std::uint8_t>(c));
            if (utf16) bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return bytes;
    }
    // A step of its own, unless it continues a half-typed byte; nothing when the document fails.
    bool Edit(std::uint64_t offset, std::uint64_t removed, const Bytes& added, bool continues = false) {
        if (failing) return false;
        if (!continues) undo.push_back({bytes, {}, offset});
        const auto at = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
        bytes.insert(bytes.erase(at, at + static_cast<std::ptrdiff_t>(removed)), added.begin(), added.end());
        undo.back().after = bytes;
        redo.clear();
        return true;
    }
    bool Char(int index) {
        const bool typed = text ? kTyped[index] >= 0x20 : index < 16;
        if (readOnly || !typed) {
            blocked += readOnly && typed;
            return readOnly && typed;
        }
        return text ? Type(kTyped[index]) : Digit(index);
    }
    bool Digit(int d) {
        if (!insert) {
            const bool first = !digit;
            if (caret >= bytes.size() ||
                !Edit(caret, 1, {static_cast<std::uint8_t>(first ? (bytes[caret] & 0x0F) | d << 4 : *digit * 16 + d)},
                      !first))
                return false;
            digit = first ? std::optional(d) : std::nullopt;
            if (!first && caret + 1 < bytes.size()) SetCaret(caret + 1);
        } else if (!digit) {
            digit = d;
        } else {
            if (!Edit(caret, 0, {static_cast<std::uint8_t>(*digit * 16 + d)})) return false;
            SetCaret(caret + 1);
        }
        return true;
    }
    bool Type(char16_t c) {
        const auto added = Encode({&c, 1});
        if (!added) return false;
        if (!insert && (caret >= bytes.size() || bytes.size() - caret < added->size())) return true;
        if (!Edit(caret, insert ? 0 : added->size(), *added)) return false;
        SetCaret(caret + added->size());
        return true;
    }
    bool Delete(bool backspace) {
        if (bytes.empty()) return false;
        digit.reset();
        if (!selected && (backspace ? caret == 0 : caret >= bytes.size())) return true;
        const std::uint64_t at = selected ? Low() : caret - backspace;
        if (!Edit(at, selected ? Length() : 1, {})) return false;
        SetCaret(at);
        return true;
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
    void Copy() {
        if (!selected) return;
        const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(Low());
        paste = Bytes(from, from + static_cast<std::ptrdiff_t>(Length()));
        clipboard = FormatCopyText(*paste, CopyFormat::HexSpaced);
    }
    void Paste() {
        if (Blocked()) return;
        if (!paste) return refusals.push_back(PasteRefusal::NotEncodable);
        digit.reset();
        const std::uint64_t at = selected ? Low() : caret;
        const bool fits = at < bytes.size() && bytes.size() - at >= paste->size();
        if (!selected && !insert && !fits) return refusals.push_back(PasteRefusal::PastEnd);
        if (!Edit(at, selected ? Length() : insert ? 0 : paste->size(), *paste)) return;
        SetCaret(at + paste->size());
    }
    bool Fill(std::uint64_t count, const Bytes& pattern, bool insertIt) {
        if (pattern.empty() || (insertIt ? count == 0 : !selected) || Blocked()) return false;
        digit.reset();
        const std::uint64_t first = insertIt ? caret : Low();
        Bytes filled(insertIt ? count : Length());
        for (std::size_t i = 0; i < filled.size(); ++i) filled[i] = pattern[i % pattern.size()];
        if (!Edit(first, insertIt ? 0 : filled.size(), filled)) return false;
        SetCaret(first);
        Select(first, first + filled.size() - 1);
        return true;
    }
    void Replay(bool back) {
        if (Blocked()) return;
        digit.reset();
        auto& from = back ? undo : redo;
        if (from.empty()) return;
        (back ? redo : undo).push_back(from.back());
        from.pop_back();
        bytes = back ? redo.back().before : undo.back().after;
        SetCaret(back ? redo.back().offset : undo.back().offset);
    }
    bool Key(HexKey key, bool ctrl, bool shift) {
        switch (key) {
            case HexKey::Escape: selected = false; return true;
            case HexKey::Tab:
                if (ctrl) return false;
                text = !text;
                break;
            case HexKey::Insert:
                if (Blocked()) return true;
                insert = !insert;
                caret = std::min(caret, Last());
                blink = true;
                break;
            case HexKey::Delete:
            case HexKey::Backspace: return Blocked() || Delete(key == HexKey::Backspace);
            case HexKey::Other: return false;
            default:
                if (key <= HexKey::End) return Move(key, ctrl, shift), true;
                if (!ctrl) return false;
        }
        if (key == HexKey::Tab || key == HexKey::Insert) digit.reset();
        if (key == HexKey::A && !bytes.empty()) Select(0, bytes.size() - 1);
        if (key == HexKey::C) Copy();
        if (key == HexKey::X && !Blocked() && selected) {
            Copy();
            (void)Delete(false);
        }
        if (key == HexKey::V) Paste();
        if (key == HexKey::Z || key == HexKey::Y) Replay(key == HexKey::Z && !shift);
        return true;
    }
};

// The selection's ends, or none.
std::pair<std::uint64_t, std::uint64_t> Selection(bool active, std::uint64_t a, std::uint64_t b) {
    return active ? std::pair{std::min(a, b), std::max(a, b)} : std::pair<std::uint64_t, std::uint64_t>{};
}

TEST_F(Editing, UserActionsAgreeWithAModel) {
    std::mt19937 random(5);
    const HexKey keys[] = {HexKey::Escape, HexKey::Insert, HexKey::Delete, HexKey::Backspace, HexKey::Tab,
                           HexKey::A,      HexKey::C,      HexKey::X,      HexKey::V,         HexKey::Y,
                           HexKey::Z,      HexKey::Z,      HexKey::Other};
    for (int round = 0; round < 300; ++round) {
        Open(round % 5 == 0 ? 600 + random() % 100 : random() % 20);
        EditModel model;
        model.bytes = document->ReadAll();
        model.utf16 = random() % 2;
        view.SetEncoding(model.utf16 ? TextEncoding::Utf16Le : TextEncoding::Ascii);
        Editable();
        if (view.Mode() == EditMode::Insert) (void)view.KeyDown(HexKey::Insert, false);
        if (view.ActiveColumn() == CaretColumn::Text) (void)view.KeyDown(HexKey::Tab, false);
        view.FocusLost();
        host.events = {};
        host.clipboard = {model.clipboard = u"00"};
        model.paste = Bytes{0};
        host.refusals.clear();
        std::string actions;  // for the message
        for (int action = 0; action < 80; ++action) {
            const unsigned choice = random() % 16;
            const bool ctrl = random() % 4, shift = random() % 2;
            const auto value = static_cast<std::uint8_t>(random());
            const std::uint64_t count = random() % 4;
            actions += "ccccnnnkkkkkPFEU"[choice];
            if (choice < 4) {
                const int index = value % (std::size(kTyped) - 1);
                ASSERT_EQ(view.Char(kTyped[index]), model.Char(index)) << actions;
            } else if (choice < 12) {
                const auto key = choice < 7 ? static_cast<HexKey>(value % 8) : keys[value % std::size(keys)];
                actions += std::to_string(static_cast<int>(key)) + (ctrl ? "^" : "") + (shift ? "+" : "");
                ASSERT_EQ(view.KeyDown(key, ctrl, shift), model.Key(key, ctrl, shift)) << actions;
            } else if (choice == 12) {  // hex text gives its bytes, other text is encoded
                const std::u16string text(count + 1, shift ? u'H' : u'\u00E9');
                model.paste = ctrl ? Bytes(count + 1, value) : model.Encode(text);
                host.clipboard = {model.clipboard = ctrl ? FormatCopyText(*model.paste, CopyFormat::HexSpaced) : text};
                view.Paste();
                model.Paste();
            } else if (choice == 13) {
                Bytes pattern(value % 3);
                std::iota(pattern.begin(), pattern.end(), value);
                ASSERT_EQ(shift ? view.InsertRepeated(count, pattern) : view.FillSelection(pattern),
                          model.Fill(count, pattern, shift))
                    << actions;
            } else if (choice == 14) {
                view.SetEditingEnabled(model.readOnly);
                model.readOnly = !model.readOnly;
                model.digit.reset();
            } else if (value % 4 == 0) {
                document->failEdits = model.failing = !model.failing;
            } else if (value % 4 == 1) {
                (model.focused ? view.FocusLost() : view.FocusGained());
                model.blink = model.focused = !model.focused;
            } else if (value % 4 == 2) {
                view.BlinkTick();
                model.blink = !model.blink;
            } else {
                actions += 'U';
                (void)view.KeyDown(shift ? HexKey::Y : HexKey::Z, true);
                model.Replay(!shift);
            }
            const std::string where = "round " + std::to_string(round) + ": " + actions;
            ASSERT_EQ(document->ReadAll(), model.bytes) << where;
            ASSERT_EQ(view.Caret(), model.caret) << where;
            ASSERT_EQ(view.NibblePending(), model.digit.has_value()) << where;
            ASSERT_EQ(Selection(view.SelectionActive(), view.SelectionStart(), view.SelectionEnd()),
                      Selection(model.selected, model.anchor, model.moving))
                << where;
            ASSERT_EQ(view.Mode() == EditMode::Insert, model.insert) << where;
            ASSERT_EQ(view.ActiveColumn() == CaretColumn::Text, model.text) << where;
            ASSERT_EQ(host.clipboard.back(), model.clipboard) << where;
            ASSERT_EQ(host.events.readOnlyBlocked, model.blocked) << where;
            ASSERT_EQ(host.refusals, model.refusals) << where;
            ASSERT_EQ(std::tuple(view.Focused(), view.BlinkOn(), host.timerRunning),
                      std::tuple(model.focused, model.blink, model.focused && model.insert))
                << where;
        }
    }
}

TEST_F(Editing, MouseSelectionAndCopy) {
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
    EXPECT_TRUE(view.CopyAs(CopyFormat::HexCompact));
    EXPECT_EQ(host.clipboard, (std::vector<std::u16string>{u"00 01", u"0001"}));
    view.MouseDown(602 + 10 * 5, 8);  // a text cell: the caret moves to the text column
    EXPECT_EQ(view.ActiveColumn(), CaretColumn::Text);
    EXPECT_EQ(view.Caret(), 5u);

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
    Open(kLargeCopyBytes);  // exactly 16 MiB: no question
    view.SelectAll();
    EXPECT_TRUE(view.CopyAs(CopyFormat::Base64));
    EXPECT_TRUE(host.largeCopyQuestions.empty());
    Open(kLargeCopyBytes + 1);
    Editable();
    view.SelectAll();
    view.Cut();
    EXPECT_EQ(host.largeCopyQuestions, (std::vector<std::uint64_t>{kLargeCopyBytes + 1}));
    EXPECT_EQ(document->GetSize(), kLargeCopyBytes + 1);
    EXPECT_EQ(host.clipboard.size(), 1u);
    host.largeCopyAllowed = true;
    EXPECT_TRUE(view.CopyAs(CopyFormat::Base64));
    ASSERT_EQ(host.clipboard.size(), 2u);
    EXPECT_EQ(host.clipboard.back().size(), (kLargeCopyBytes + 3) / 3 * 4);
    EXPECT_EQ(host.copyFailures, 0);
}

TEST_F(Editing, ChangedBytesAndMatchesAreMarked) {
    Open(40);
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
