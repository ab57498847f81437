// Shift selection, Select All, the text column and changed bytes.
#include "tests/hexview/HexViewTestSupport.h"

namespace tvx::test {
namespace {

using Selection = HexViewTest;
using Bytes = std::vector<std::uint8_t>;

TEST_F(Selection, ShiftMovesExtendFromTheAnchor) {
    struct Step {
        HexKey key;
        bool ctrl;
        std::uint64_t caret, start, end;
    };
    // From offset 20 of 1,000 bytes (a page is 31 rows).
    const std::vector<std::vector<Step>> walks = {
        {{HexKey::Right, false, 21, 20, 21}, {HexKey::Right, false, 22, 20, 22}, {HexKey::Left, false, 21, 20, 21}},
        {{HexKey::Left, false, 19, 19, 20}, {HexKey::Up, false, 3, 3, 20}, {HexKey::Down, false, 19, 19, 20}},
        {{HexKey::End, false, 31, 20, 31}, {HexKey::Home, false, 16, 16, 20}},
        {{HexKey::End, true, 999, 20, 999}, {HexKey::Home, true, 0, 0, 20}},
        {{HexKey::PageDown, false, 516, 20, 516}, {HexKey::PageUp, false, 20, 20, 20}},
    };
    Open(1000);
    for (const auto& walk : walks) {
        view.SetCaret(20);
        for (const Step& step : walk) {
            EXPECT_TRUE(view.KeyDown(step.key, step.ctrl, true));
            EXPECT_TRUE(view.SelectionActive());
            EXPECT_EQ(view.Caret(), step.caret);
            EXPECT_EQ(view.SelectionStart(), step.start);
            EXPECT_EQ(view.SelectionEnd(), step.end);
        }
    }
    EXPECT_TRUE(view.KeyDown(HexKey::Right, false));  // without Shift the selection goes
    EXPECT_FALSE(view.SelectionActive());
}

TEST_F(Selection, ShiftClickExtendsAndCtrlASelectsEverything) {
    Open(100);
    view.SetCaret(5);
    view.MouseDown(110 + 30 * 3, 8 + 22 * 2, true);  // hex cell of offset 35
    view.MouseUp();
    EXPECT_EQ(view.SelectionStart(), 5u);
    EXPECT_EQ(view.SelectionEnd(), 35u);
    EXPECT_EQ(view.Caret(), 35u);
    view.MouseDown(110 + 30 * 1, 8, true);  // offset 1: the anchor stays at 5
    view.MouseUp();
    EXPECT_EQ(view.SelectionStart(), 1u);
    EXPECT_EQ(view.SelectionEnd(), 5u);

    EXPECT_TRUE(view.KeyDown(HexKey::A, true));
    EXPECT_EQ(view.SelectionStart(), 0u);
    EXPECT_EQ(view.SelectionEnd(), 99u);
    EXPECT_TRUE(view.KeyDown(HexKey::C, true));
    EXPECT_EQ(host.clipboard.back().size(), 100u * 3 - 1);
    EXPECT_FALSE(view.KeyDown(HexKey::A, false));
}

TEST_F(Selection, TextColumnTakesClicksTabAndTypedCharacters) {
    Open(8);
    view.MouseDown(610 + 10 * 2, 8);  // text cell of offset 2
    view.MouseUp();
    EXPECT_EQ(view.ActiveColumn(), CaretColumn::Text);
    EXPECT_EQ(view.Caret(), 2u);
    EXPECT_TRUE(view.Char(u'H'));  // read-only: refused with the notice
    EXPECT_EQ(host.events.readOnlyBlocked, 1);
    Editable();
    view.SetEncoding(TextEncoding::Utf16Le);
    EXPECT_TRUE(view.Char(u'H'));
    EXPECT_TRUE(view.Char(u'i'));
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 'H', 0, 'i', 0, 6, 7}));
    EXPECT_EQ(view.Caret(), 6u);
    view.SetCaret(7);
    EXPECT_TRUE(view.Char(u'!'));  // would run past the end: nothing written
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 'H', 0, 'i', 0, 6, 7}));
    EXPECT_FALSE(view.Char(u'\r'));

    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    view.SetEncoding(TextEncoding::Utf8);
    view.SetCaret(0);
    EXPECT_TRUE(view.Char(u'é'));
    EXPECT_EQ(document.bytes_, (Bytes{0xC3, 0xA9, 0, 1, 'H', 0, 'i', 0, 6, 7}));
    EXPECT_EQ(view.Caret(), 2u);

    EXPECT_TRUE(view.KeyDown(HexKey::Tab, false));
    EXPECT_EQ(view.ActiveColumn(), CaretColumn::Hex);
    EXPECT_FALSE(view.Char(u'x'));  // the hex column takes digits only
}

TEST_F(Selection, ChangedMaskAsksOncePerUnchangedRow) {
    Open(40);
    int queries = 0;
    view.SetChangedQuery([&](std::uint64_t offset, std::uint64_t length) {
        ++queries;
        return offset < 35 && offset + length > 17 && offset != 18;  // 17 and 19..34 changed
    });
    EXPECT_EQ(view.ChangedMask(0, 16), 0);
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(view.ChangedMask(16, 16), 0xFFFA);
    EXPECT_EQ(view.ChangedMask(32, 8), 0x0007);
}

}  // namespace
}  // namespace tvx::test
