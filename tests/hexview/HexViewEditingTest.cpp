// Typing, deleting, mouse selection, focus and blink.
#include "tests/hexview/HexViewTestSupport.h"

namespace tvx::test {
namespace {

using Editing = HexViewTest;
using Bytes = std::vector<std::uint8_t>;

TEST_F(Editing, OverwriteReplacesTheHighNibbleAtOnce) {
    document.bytes_ = {0x00, 0x3C, 0x00};
    view.SetDocument(&document);
    Editable();
    view.SetCaret(1);
    EXPECT_TRUE(view.Char(u'A'));
    EXPECT_EQ(document.bytes_[1], 0xAC);
    EXPECT_EQ(view.Caret(), 1u);
    EXPECT_TRUE(view.NibblePending());
    EXPECT_TRUE(view.Char(u'5'));
    EXPECT_EQ(document.bytes_[1], 0xA5);
    EXPECT_EQ(view.Caret(), 2u);
    EXPECT_FALSE(view.NibblePending());
}

TEST_F(Editing, OverwriteAtTheLastByteKeepsTheCaret) {
    Open(3);
    Editable();
    view.SetCaret(2);
    host.events = {};
    EXPECT_TRUE(view.Char(u'f'));
    EXPECT_TRUE(view.Char(u'E'));
    EXPECT_EQ(document.bytes_[2], 0xFE);
    EXPECT_EQ(view.Caret(), 2u);
    EXPECT_EQ(host.events.documentChanged, 2);
}

TEST_F(Editing, InsertWritesOnlyAfterTheSecondDigit) {
    Open(8);
    InsertMode();
    view.SetCaret(4);
    EXPECT_TRUE(view.Char(u'7'));
    EXPECT_EQ(document.bytes_.size(), 8u);
    EXPECT_TRUE(view.Char(u'F'));
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 2, 3, 0x7F, 4, 5, 6, 7}));
    EXPECT_EQ(view.Caret(), 5u);
}

TEST_F(Editing, InsertAtTheEndAppends) {
    Open(16);
    InsertMode();
    view.SetCaret(16);
    EXPECT_EQ(view.Caret(), 16u);
    EXPECT_TRUE(view.Char(u'a'));
    EXPECT_TRUE(view.Char(u'b'));
    EXPECT_EQ(document.bytes_.size(), 17u);
    EXPECT_EQ(document.bytes_[16], 0xAB);
    EXPECT_EQ(view.Caret(), 17u);
}

TEST_F(Editing, InsertThatFailsKeepsThePendingDigit) {
    Open(8);
    InsertMode();
    EXPECT_TRUE(view.Char(u'1'));
    document.failEdits_ = true;
    EXPECT_FALSE(view.Char(u'2'));
    EXPECT_TRUE(view.NibblePending());
    EXPECT_EQ(view.Caret(), 0u);
}

TEST_F(Editing, OverwriteThatFailsChangesNothing) {
    Open(8);
    Editable();
    document.failEdits_ = true;
    EXPECT_FALSE(view.Char(u'1'));
    EXPECT_FALSE(view.NibblePending());
    EXPECT_EQ(host.events.documentChanged, 0);
}

TEST_F(Editing, ReadOnlyRefusesHexDigitsAndPassesOtherCharacters) {
    Open(8);
    EXPECT_TRUE(view.Char(u'b'));
    EXPECT_EQ(host.events.readOnlyBlocked, 1);
    EXPECT_FALSE(view.Char(u'g'));
    EXPECT_FALSE(view.Char(u' '));
    EXPECT_EQ(host.events.readOnlyBlocked, 1);
    EXPECT_EQ(document.bytes_[0], 0);
}

TEST_F(Editing, NonHexCharactersArePassedOnWhileEditing) {
    Open(8);
    Editable();
    EXPECT_FALSE(view.Char(u'x'));
    EXPECT_FALSE(view.NibblePending());
}

TEST_F(Editing, CaretMovesAndModeChangesDropThePendingDigit) {
    Open(8);
    Editable();
    EXPECT_TRUE(view.Char(u'9'));
    EXPECT_TRUE(view.KeyDown(HexKey::Right, false));
    EXPECT_FALSE(view.NibblePending());
    EXPECT_TRUE(view.Char(u'9'));
    view.SetEditingEnabled(true);
    EXPECT_FALSE(view.NibblePending());
}

TEST_F(Editing, BackspaceAtZeroAndDeleteAtTheEndDoNothingButAreHandled) {
    Open(16);
    InsertMode();
    EXPECT_TRUE(view.KeyDown(HexKey::Backspace, false));
    view.SetCaret(16);
    EXPECT_TRUE(view.KeyDown(HexKey::Delete, false));
    EXPECT_EQ(document.bytes_.size(), 16u);
    EXPECT_FALSE(document.CanUndo());
}

TEST_F(Editing, DeletingInAnEmptyDocumentIsNotHandled) {
    Open(0);
    Editable();
    EXPECT_FALSE(view.DeleteAtCaret(false));
    EXPECT_FALSE(view.DeleteAtCaret(true));
}

TEST_F(Editing, DeleteRemovesTheSelection) {
    Open(10);
    Editable();
    view.SetCaret(8);
    view.SetSelection(5, 2);
    EXPECT_TRUE(view.KeyDown(HexKey::Delete, false));
    EXPECT_EQ(document.bytes_, (Bytes{0, 1, 6, 7, 8, 9}));
    EXPECT_EQ(view.Caret(), 2u);
    EXPECT_FALSE(view.SelectionActive());
}

TEST_F(Editing, BackspaceWithASelectionDeletesTheSelectionToo) {
    Open(10);
    Editable();
    view.SetSelection(8, 9);
    EXPECT_TRUE(view.KeyDown(HexKey::Backspace, false));
    EXPECT_EQ(document.bytes_.size(), 8u);
    EXPECT_EQ(view.Caret(), 7u);  // clamped to the new last byte
}

TEST_F(Editing, FailedSelectionDeleteKeepsTheSelection) {
    Open(10);
    Editable();
    view.SetSelection(2, 5);
    document.failEdits_ = true;
    EXPECT_FALSE(view.DeleteSelection());
    EXPECT_TRUE(view.SelectionActive());
}

TEST_F(Editing, SelectionEndsAreClampedToTheLastByte) {
    Open(10);
    InsertMode();
    view.SetSelection(3, 500);
    EXPECT_EQ(view.SelectionStart(), 3u);
    EXPECT_EQ(view.SelectionEnd(), 9u);
    EXPECT_EQ(host.events.documentChanged, 0);  // selecting alone does not notify
}

TEST_F(Editing, SelectRangeSelectsAndMovesTheCaretToItsStart) {
    Open(16 * 100);
    view.SelectRange(1000, 1003);
    EXPECT_EQ(view.Caret(), 1000u);
    EXPECT_TRUE(view.SelectionActive());
    EXPECT_EQ(view.SelectionEnd(), 1003u);
    EXPECT_EQ(host.events.documentChanged, 1);
    EXPECT_LE(view.TopRow(), 1000u / 16);
    EXPECT_GT(view.TopRow() + view.VisibleRowCount(), 1000u / 16);
}

TEST_F(Editing, ClickSelectsOneByteAndMovesTheCaret) {
    Open(100);
    view.MouseDown(110 + 30 * 3, 8 + 22);  // offset 19
    EXPECT_EQ(view.Caret(), 19u);
    EXPECT_TRUE(view.SelectionActive());
    EXPECT_EQ(view.SelectionStart(), 19u);
    EXPECT_EQ(view.SelectionEnd(), 19u);
    EXPECT_TRUE(host.captured);
    view.MouseUp();
    EXPECT_FALSE(host.captured);
    EXPECT_TRUE(view.SelectionActive());
    EXPECT_TRUE(view.KeyDown(HexKey::C, true));
    EXPECT_EQ(host.clipboard.back(), u"13");
}

TEST_F(Editing, DraggingExtendsTheSelectionButNotTheCaret) {
    Open(100);
    view.MouseDown(110 + 30 * 3, 8 + 22);  // 19
    view.MouseMove(602 + 10 * 2, 8);       // 2
    EXPECT_EQ(view.SelectionStart(), 2u);
    EXPECT_EQ(view.SelectionEnd(), 19u);
    view.MouseMove(40, 8);  // offset column: the selection stays
    EXPECT_EQ(view.SelectionStart(), 2u);
    EXPECT_EQ(view.Caret(), 19u);
    view.MouseUp();
    view.CaptureLost();
    view.MouseMove(110, 8);  // no longer dragging
    EXPECT_EQ(view.SelectionStart(), 2u);
}

TEST_F(Editing, ClickOutsideTheColumnsOnlyTakesTheFocus) {
    Open(100);
    view.SetSelection(4, 6);
    const int focusRequests = host.focusRequests;
    view.MouseDown(30, 30);
    EXPECT_EQ(host.focusRequests, focusRequests + 1);
    EXPECT_TRUE(view.SelectionActive());
    EXPECT_FALSE(host.captured);
}

TEST_F(Editing, InsertCaretBlinksOnlyWithFocus) {
    Open(100);
    InsertMode();
    view.FocusGained();
    EXPECT_TRUE(host.timerRunning);
    EXPECT_TRUE(view.BlinkOn());
    view.BlinkTick();
    EXPECT_FALSE(view.BlinkOn());
    view.FocusLost();
    EXPECT_FALSE(host.timerRunning);
    EXPECT_FALSE(view.BlinkOn());
    EXPECT_FALSE(view.Focused());
}

}  // namespace
}  // namespace tvx::test
