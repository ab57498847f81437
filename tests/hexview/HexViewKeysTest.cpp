// Every row of the key table, and the rules around it.
#include "tests/hexview/HexViewTestSupport.h"

namespace tvx::test {
namespace {

using Keys = HexViewTest;

TEST_F(Keys, ArrowsMoveByOneByteOrOneRow) {
    Open(100);
    view.SetCaret(20);
    EXPECT_TRUE(view.KeyDown(HexKey::Right, false));
    EXPECT_EQ(view.Caret(), 21u);
    EXPECT_TRUE(view.KeyDown(HexKey::Left, false));
    EXPECT_EQ(view.Caret(), 20u);
    EXPECT_TRUE(view.KeyDown(HexKey::Down, false));
    EXPECT_EQ(view.Caret(), 36u);
    EXPECT_TRUE(view.KeyDown(HexKey::Up, false));
    EXPECT_EQ(view.Caret(), 20u);
    EXPECT_TRUE(view.KeyDown(HexKey::Up, false));
    EXPECT_TRUE(view.KeyDown(HexKey::Up, false));
    EXPECT_EQ(view.Caret(), 0u);
}

TEST_F(Keys, MovesStopAtTheEndsButStillNotify) {
    Open(100);
    view.SetSelection(3, 5);
    host.events = {};
    EXPECT_TRUE(view.KeyDown(HexKey::Left, false));
    EXPECT_EQ(view.Caret(), 0u);
    EXPECT_FALSE(view.SelectionActive());
    EXPECT_EQ(host.events.documentChanged, 1);

    view.SetCaret(99);
    view.SetSelection(3, 5);
    EXPECT_TRUE(view.KeyDown(HexKey::Right, false));
    EXPECT_TRUE(view.KeyDown(HexKey::Down, false));
    EXPECT_EQ(view.Caret(), 99u);
    EXPECT_FALSE(view.SelectionActive());
}

TEST_F(Keys, PageKeysMoveByTheVisibleRows) {
    Open(16 * 100);
    view.SetCaret(5);
    EXPECT_TRUE(view.KeyDown(HexKey::PageDown, false));
    EXPECT_EQ(view.Caret(), 5u + 16 * 31);
    EXPECT_TRUE(view.KeyDown(HexKey::PageDown, false));
    EXPECT_TRUE(view.KeyDown(HexKey::PageDown, false));
    EXPECT_TRUE(view.KeyDown(HexKey::PageDown, false));  // near the end: the last byte
    EXPECT_EQ(view.Caret(), 16u * 100 - 1);
    EXPECT_TRUE(view.KeyDown(HexKey::PageUp, false));
    EXPECT_EQ(view.Caret(), 16u * 100 - 1 - 16 * 31);
    view.SetCaret(40);
    EXPECT_TRUE(view.KeyDown(HexKey::PageUp, false));
    EXPECT_EQ(view.Caret(), 0u);
}

TEST_F(Keys, HomeAndEndStayInTheRowWithoutCtrl) {
    Open(100);
    view.SetCaret(37);
    EXPECT_TRUE(view.KeyDown(HexKey::End, false));
    EXPECT_EQ(view.Caret(), 47u);
    EXPECT_TRUE(view.KeyDown(HexKey::Home, false));
    EXPECT_EQ(view.Caret(), 32u);
    view.SetCaret(97);
    EXPECT_TRUE(view.KeyDown(HexKey::End, false));  // the short last row
    EXPECT_EQ(view.Caret(), 99u);
}

TEST_F(Keys, CtrlHomeAndCtrlEndGoToTheDocumentEnds) {
    Open(16 * 100);
    view.SetCaret(700);
    EXPECT_TRUE(view.KeyDown(HexKey::End, true));
    EXPECT_EQ(view.Caret(), 1599u);
    EXPECT_EQ(view.TopRow(), 69u);
    EXPECT_TRUE(view.KeyDown(HexKey::Home, true));
    EXPECT_EQ(view.Caret(), 0u);
    EXPECT_EQ(view.TopRow(), 0u);
}

TEST_F(Keys, CtrlEndInInsertModeReachesThePositionAfterTheLastByte) {
    Open(100);
    InsertMode();
    EXPECT_TRUE(view.KeyDown(HexKey::End, true));
    EXPECT_EQ(view.Caret(), 100u);
}

TEST_F(Keys, EscapeDropsTheSelectionAndIsAlwaysSwallowed) {
    Open(100);
    view.SetSelection(1, 4);
    host.events = {};
    EXPECT_TRUE(view.KeyDown(HexKey::Escape, false));
    EXPECT_FALSE(view.SelectionActive());
    EXPECT_EQ(host.events.invalidates, 1);
    EXPECT_EQ(host.events.documentChanged, 0);
    EXPECT_TRUE(view.KeyDown(HexKey::Escape, false));
    EXPECT_EQ(host.events.invalidates, 1);
}

TEST_F(Keys, EditKeysWhileReadOnlyAreRefused) {
    Open(100);
    view.SetCaret(10);
    host.events = {};
    for (HexKey key : {HexKey::Insert, HexKey::Delete, HexKey::Backspace})
        EXPECT_TRUE(view.KeyDown(key, false));
    EXPECT_EQ(host.events.readOnlyBlocked, 3);
    EXPECT_EQ(view.Mode(), EditMode::Overwrite);
    EXPECT_EQ(document.bytes_.size(), 100u);
}

TEST_F(Keys, InsertTogglesTheModeAndTheBlinkTimer) {
    Open(100);
    Editable();
    view.FocusGained();
    EXPECT_FALSE(host.timerRunning);
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    EXPECT_EQ(view.Mode(), EditMode::Insert);
    EXPECT_TRUE(host.timerRunning);
    EXPECT_EQ(host.events.documentChanged, 1);
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    EXPECT_EQ(view.Mode(), EditMode::Overwrite);
    EXPECT_FALSE(host.timerRunning);
}

TEST_F(Keys, LeavingInsertModeAtTheEndPullsTheCaretBack) {
    Open(100);
    InsertMode();
    view.SetCaret(100);
    EXPECT_TRUE(view.KeyDown(HexKey::Insert, false));
    EXPECT_EQ(view.Caret(), 99u);
}

TEST_F(Keys, DeleteAndBackspaceRemoveBytes) {
    Open(10);
    Editable();
    view.SetCaret(4);
    EXPECT_TRUE(view.KeyDown(HexKey::Delete, false));
    EXPECT_EQ(document.bytes_, (std::vector<std::uint8_t>{0, 1, 2, 3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(view.Caret(), 4u);
    EXPECT_TRUE(view.KeyDown(HexKey::Backspace, false));
    EXPECT_EQ(document.bytes_, (std::vector<std::uint8_t>{0, 1, 2, 5, 6, 7, 8, 9}));
    EXPECT_EQ(view.Caret(), 3u);
}

TEST_F(Keys, DeleteThatFailsIsPassedOn) {
    Open(10);
    Editable();
    view.SetCaret(5);
    document.failEdits_ = true;
    EXPECT_FALSE(view.KeyDown(HexKey::Delete, false));
    EXPECT_FALSE(view.KeyDown(HexKey::Backspace, false));
    EXPECT_EQ(view.Caret(), 5u);
}

TEST_F(Keys, CtrlCCopiesTheSelection) {
    document.bytes_ = {0x00, 0x0A, 0xFF, 0x41};
    view.SetDocument(&document);
    view.SetSelection(2, 0);
    EXPECT_TRUE(view.KeyDown(HexKey::C, true));
    ASSERT_EQ(host.clipboard.size(), 1u);
    EXPECT_EQ(host.clipboard[0], u"00 0A FF");
}

TEST_F(Keys, CWithoutCtrlAndOtherKeysArePassedOn) {
    Open(10);
    view.SetSelection(0, 1);
    EXPECT_FALSE(view.KeyDown(HexKey::C, false));
    EXPECT_FALSE(view.KeyDown(HexKey::Other, false));
    EXPECT_FALSE(view.KeyDown(HexKey::Other, true));
    EXPECT_TRUE(host.clipboard.empty());
}

TEST_F(Keys, CopyWithoutSelectionDoesNothing) {
    Open(10);
    EXPECT_TRUE(view.KeyDown(HexKey::C, true));
    EXPECT_TRUE(host.clipboard.empty());
}

TEST_F(Keys, WithoutAnOpenDocumentEveryKeyIsSwallowed) {
    for (HexKey key : {HexKey::Left, HexKey::Insert, HexKey::C, HexKey::Other})
        EXPECT_TRUE(view.KeyDown(key, true));
    document.open_ = false;
    view.SetDocument(&document);
    EXPECT_TRUE(view.KeyDown(HexKey::Other, false));
    EXPECT_EQ(host.events.readOnlyBlocked, 0);
    EXPECT_EQ(host.events.documentChanged, 0);
}

}  // namespace
}  // namespace tvx::test
