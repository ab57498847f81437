// Undo steps are user actions; paste and cut.
#include "tests/hexview/HexViewTestSupport.h"

#include <functional>

namespace tvx::test {
namespace {

using Undo = HexViewTest;
using Bytes = std::vector<std::uint8_t>;

TEST_F(Undo, EachUserActionIsOneStep) {
    struct Case {
        const char* name;
        std::function<void(HexView&, FakeHost&)> act;
        Bytes after;        // from 0 1 2 3 4 5 6 7
        Bytes afterUndo;    // one Undo later
        std::uint64_t undoCaret;
    };
    const auto type = [](HexView& v, std::u16string_view s) {
        for (char16_t c : s) (void)v.Char(c);
    };
    const Case cases[] = {
        {"both nibbles", [&](HexView& v, FakeHost&) { type(v, u"41"); }, {0x41, 1, 2, 3, 4, 5, 6, 7},
         {0, 1, 2, 3, 4, 5, 6, 7}, 0},
        {"a nibble, then a move", [&](HexView& v, FakeHost&) { type(v, u"4"); (void)v.KeyDown(HexKey::Right, false); type(v, u"9"); },
         {0x40, 0x91, 2, 3, 4, 5, 6, 7}, {0x40, 1, 2, 3, 4, 5, 6, 7}, 1},
        {"two bytes", [&](HexView& v, FakeHost&) { type(v, u"4142"); }, {0x41, 0x42, 2, 3, 4, 5, 6, 7},
         {0x41, 1, 2, 3, 4, 5, 6, 7}, 1},
        {"insert", [&](HexView& v, FakeHost&) { (void)v.KeyDown(HexKey::Insert, false); type(v, u"AB"); },
         {0xAB, 0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, 0},
        {"selection delete", [&](HexView& v, FakeHost&) { v.SetSelection(2, 5); (void)v.KeyDown(HexKey::Delete, false); },
         {0, 1, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, 2},
        {"paste over a selection", [&](HexView& v, FakeHost& h) { h.clipboard = {u"0xAA 0xBB 0xCC"}; v.SetSelection(1, 2); v.Paste(); },
         {0, 0xAA, 0xBB, 0xCC, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, 1},
        {"paste overwriting", [&](HexView& v, FakeHost& h) { h.clipboard = {u"AA\r\nBB"}; v.SetCaret(6); v.Paste(); },
         {0, 1, 2, 3, 4, 5, 0xAA, 0xBB}, {0, 1, 2, 3, 4, 5, 6, 7}, 6},
        {"paste inserting text", [&](HexView& v, FakeHost& h) { h.clipboard = {u"Hi!"}; (void)v.KeyDown(HexKey::Insert, false); v.SetCaret(8); v.Paste(); },
         {0, 1, 2, 3, 4, 5, 6, 7, 'H', 'i', '!'}, {0, 1, 2, 3, 4, 5, 6, 7}, 8},
        {"cut", [&](HexView& v, FakeHost&) { v.SetSelection(0, 1); v.Cut(); }, {2, 3, 4, 5, 6, 7},
         {0, 1, 2, 3, 4, 5, 6, 7}, 0},
        {"fill", [&](HexView& v, FakeHost&) { v.SetSelection(5, 1); (void)v.FillSelection(Bytes{0xAB, 0xCD}); },
         {0, 0xAB, 0xCD, 0xAB, 0xCD, 0xAB, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, 1},
        {"insert repeated", [&](HexView& v, FakeHost&) { v.SetCaret(2); (void)v.InsertRepeated(5, Bytes{0xEE, 0xFF}); },
         {0, 1, 0xEE, 0xFF, 0xEE, 0xFF, 0xEE, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.clipboard.clear();
        Open(8);
        Editable();
        if (view.Mode() == EditMode::Insert) (void)view.KeyDown(HexKey::Insert, false);  // the mode outlives documents
        c.act(view, host);
        EXPECT_EQ(document.bytes_, c.after);
        view.SetCaret(3);
        EXPECT_TRUE(view.KeyDown(HexKey::Z, true));
        EXPECT_EQ(document.bytes_, c.afterUndo);
        EXPECT_EQ(view.Caret(), c.undoCaret);
        EXPECT_TRUE(view.KeyDown(HexKey::Y, true));
        EXPECT_EQ(document.bytes_, c.after);
        EXPECT_TRUE(view.KeyDown(HexKey::Z, true, true));  // Ctrl+Shift+Z redoes: nothing left
        EXPECT_EQ(document.bytes_, c.after);
    }
}

// Overwriting, the first digit changes the byte at once; a Delete before the second digit
// ends the typed byte, so Undo takes back the Delete alone.
TEST_F(Undo, DeleteAfterAHalfTypedByteIsAStepOfItsOwn) {
    Open(4);
    Editable();
    EXPECT_TRUE(view.Char(u'A'));
    EXPECT_TRUE(view.KeyDown(HexKey::Delete, false));
    EXPECT_FALSE(view.NibblePending());
    EXPECT_EQ(document.bytes_, (Bytes{1, 2, 3}));
    EXPECT_TRUE(view.KeyDown(HexKey::Z, true));
    EXPECT_EQ(document.bytes_, (Bytes{0xA0, 1, 2, 3}));
    EXPECT_TRUE(view.KeyDown(HexKey::Z, true));
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 2, 3}));
}

TEST_F(Undo, FillAndInsertLeaveTheirBytesSelectedAndAreRefusedWhileReadOnly) {
    Open(8);
    view.SetSelection(1, 2);
    EXPECT_FALSE(view.FillSelection(Bytes{0}));
    EXPECT_FALSE(view.InsertRepeated(3, Bytes{0}));
    EXPECT_EQ(host.events.readOnlyBlocked, 2);
    Editable();
    EXPECT_TRUE(view.FillSelection(Bytes{9}));
    EXPECT_EQ(view.SelectionStart(), 1u);
    EXPECT_EQ(view.SelectionEnd(), 2u);
    view.SetCaret(3);
    EXPECT_TRUE(view.InsertRepeated(3, Bytes{7}));  // in overwrite mode too
    EXPECT_EQ(view.SelectionStart(), 3u);
    EXPECT_EQ(view.SelectionEnd(), 5u);
    EXPECT_EQ(document.bytes_, (Bytes{0, 9, 9, 7, 7, 7, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(view.FillSelection({}));  // no pattern
    view.SetCaret(0);                      // no selection
    EXPECT_FALSE(view.FillSelection(Bytes{1}));
}

TEST_F(Undo, RefusalsChangeNothing) {
    Open(8);
    host.clipboard = {u"AA BB"};
    view.SetSelection(0, 1);
    for (const HexKey key : {HexKey::Z, HexKey::Y, HexKey::X, HexKey::V}) EXPECT_TRUE(view.KeyDown(key, true));
    EXPECT_EQ(host.events.readOnlyBlocked, 4);

    Editable();
    view.SetCaret(7);
    view.Paste();  // two bytes from the last one: past the end
    host.clipboard = {u"é"};
    view.SetCaret(0);
    view.Paste();  // not ASCII
    EXPECT_EQ(host.refusals, (std::vector<PasteRefusal>{PasteRefusal::PastEnd, PasteRefusal::NotEncodable}));
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(document.CanUndo());
    view.Undo();  // nothing to undo: nothing happens
    EXPECT_EQ(view.Caret(), 0u);
}

}  // namespace
}  // namespace tvx::test
