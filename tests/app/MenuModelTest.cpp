#include "app/Commands.h"
#include "app/MenuModel.h"

#include <gtest/gtest.h>

#include <array>

namespace tvx::test {
namespace {

std::u16string KeyText(std::string_view key) { return u"<" + std::u16string(key.begin(), key.end()) + u">"; }

const MenuItem* Find(const std::vector<MenuItem>& items, std::uint32_t id) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
        if (const MenuItem* found = Find(item.children, id)) return found;
    }
    return nullptr;
}

std::vector<std::u16string> Labels(const std::vector<MenuItem>& items) {
    std::vector<std::u16string> labels;
    for (const MenuItem& item : items) labels.push_back(item.kind == MenuItem::Kind::Separator ? u"-" : item.label);
    return labels;
}

std::vector<std::u16string> Files(int n) {
    std::vector<std::u16string> files;
    for (int i = 0; i < n; ++i) files.push_back(u"C:\\f" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
    return files;
}

TEST(MenuModel, TopLevelPopupsAndTheirItemsInOrder) {
    MenuState state;
    state.fileOpen = true;
    const auto bar = BuildMenuBar(state, KeyText);
    EXPECT_EQ(Labels(bar), (std::vector<std::u16string>{u"<menu.file>", u"<menu.edit>", u"<menu.view>",
                                                        u"<menu.tools>", u"<menu.settings>", u"<menu.help>"}));
    EXPECT_EQ(Labels(bar[1].children),
              (std::vector<std::u16string>{u"<menu.edit.undo>", u"<menu.edit.redo>", u"-", u"<menu.edit.cut>",
                                           u"<menu.edit.copy>", u"<menu.edit.copy_as>", u"<menu.edit.paste>", u"<menu.edit.select_all>", u"-",
                                           u"<menu.edit.fill>", u"<menu.edit.insert_bytes>", u"-",
                                           u"<menu.edit.replace>", u"-", u"<menu.edit.readonly>"}));
    EXPECT_EQ(Labels(bar[2].children),
              (std::vector<std::u16string>{u"<menu.view.find>", u"<menu.view.find_next>", u"<menu.view.find_previous>",
                                           u"<menu.view.goto>", u"-", u"<menu.view.zoom>"}));
    EXPECT_EQ(Labels(bar[2].children[5].children),
              (std::vector<std::u16string>{u"<menu.view.zoom.out>", u"<menu.view.zoom.in>", u"-", u"<menu.view.zoom.reset>"}));
    EXPECT_EQ(bar[3].children[0].id, kCmdChecksums);
    EXPECT_EQ(Labels(bar[4].children),
              (std::vector<std::u16string>{u"<menu.view.encoding>", u"<menu.view.theme>", u"<menu.view.language>",
                                           u"<menu.settings.analysis>", u"-", u"<menu.settings.font>"}));
    EXPECT_EQ(bar[5].children[0].id, kCmdAbout);
    for (std::uint32_t id = kCmdOpen; id <= kCmdAbout; ++id) EXPECT_NE(Find(bar, id), nullptr) << id;
}

TEST(MenuModel, CheckMarksFollowTheState) {
    MenuState state;
    state.encoding = TextEncoding::Utf16Le;
    state.theme = Theme::Black;
    state.language = Language::Japanese;
    state.readOnly = true;
    state.dataInspectorVisible = true;
    const auto bar = BuildMenuBar(state, KeyText);
    for (std::uint32_t id = kCmdOpen; id <= kCmdAbout; ++id) {
        const bool expected = id == kCmdEncodingUtf16Le || id == kCmdThemeBlack || id == kCmdLanguageJapanese ||
                              id == kCmdReadOnly || id == kCmdDataInspector;
        EXPECT_EQ(Find(bar, id)->checked, expected) << id;
    }
    state.readOnly = false;
    state.structViewVisible = true;
    state.language = Language::System;
    const auto other = BuildMenuBar(state, KeyText);
    EXPECT_FALSE(Find(other, kCmdReadOnly)->checked);
    EXPECT_TRUE(Find(other, kCmdStructView)->checked);
    EXPECT_TRUE(Find(other, kCmdLanguageSystem)->checked);
}

TEST(MenuModel, SaveAndCloseAreGrayedWithoutAFile) {
    MenuState state;
    state.fileOpen = false;
    const auto bar = BuildMenuBar(state, KeyText);
    for (std::uint32_t id = kCmdOpen; id <= kCmdAbout; ++id)
        EXPECT_EQ(Find(bar, id)->grayed, id == kCmdSave || id == kCmdClose) << id;
    for (std::uint32_t id : {kCmdReplace, kCmdFindNextAgain, kCmdFindPreviousAgain, kCmdSaveAs})
        EXPECT_TRUE(Find(bar, id)->grayed) << id;
}

TEST(MenuModel, EditItemsAreGrayedWhenTheyCannotAct) {
    struct Case {
        bool fileOpen, readOnly, canUndo, canRedo, selection, clipboardText;
        // Undo, Redo, Cut, Copy, Paste, Select All
        std::array<bool, 6> grayed;
    };
    const Case cases[] = {
        {true, false, true, true, true, true, {false, false, false, false, false, false}},
        {true, true, true, true, true, true, {true, true, true, false, true, false}},
        {true, false, false, false, false, false, {true, true, true, true, true, false}},
        {true, false, true, false, false, true, {false, true, true, true, false, false}},
        {false, false, true, true, true, true, {true, true, true, true, true, true}},
    };
    const std::uint32_t ids[] = {kCmdUndo, kCmdRedo, kCmdCut, kCmdCopy, kCmdPaste, kCmdSelectAll};
    for (const Case& c : cases) {
        MenuState state;
        state.fileOpen = c.fileOpen;
        state.readOnly = c.readOnly;
        state.canUndo = c.canUndo;
        state.canRedo = c.canRedo;
        state.selection = c.selection;
        state.clipboardText = c.clipboardText;
        const auto bar = BuildMenuBar(state, KeyText);
        const auto context = BuildContextMenu(state, KeyText);
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            EXPECT_EQ(Find(bar, ids[i])->grayed, c.grayed[i]) << ids[i] << " case " << (&c - cases);
            if (i >= 2) {  // from Cut on
                EXPECT_EQ(Find(context, ids[i])->grayed, c.grayed[i]) << ids[i];
            }
        }
        EXPECT_EQ(Find(bar, kCmdCopyAsCArray)->grayed, c.grayed[3]);  // as Copy
        EXPECT_EQ(Find(context, kCmdCopyAsBase64)->grayed, c.grayed[3]);
        EXPECT_EQ(Find(bar, kCmdFillSelection)->grayed, c.grayed[2]);  // as Cut
        EXPECT_EQ(Find(context, kCmdInsertBytes)->grayed, !c.fileOpen || c.readOnly);
        EXPECT_FALSE(Find(bar, kCmdReadOnly)->grayed);
    }
}

TEST(MenuModel, EverythingIsGrayedWhileBusy) {
    MenuState state;
    state.busy = true;
    state.fileOpen = true;
    state.recentFiles = Files(10);
    const auto bar = BuildMenuBar(state, KeyText);
    for (const MenuItem& popup : bar) EXPECT_TRUE(popup.grayed);
    for (std::uint32_t id = kCmdOpen; id <= kCmdAbout; ++id) EXPECT_TRUE(Find(bar, id)->grayed) << id;
    EXPECT_TRUE(Find(bar, kCmdRecentFileFirst + 9)->grayed);
}

TEST(MenuModel, RecentFilesStandBetweenSeparatorsBeforeExit) {
    MenuState state;
    state.recentFiles = Files(2);
    const auto file = BuildMenuBar(state, KeyText)[0].children;
    EXPECT_EQ(Labels(file),
              (std::vector<std::u16string>{u"<menu.file.open>", u"<menu.file.save>", u"<menu.file.save_as>",
                                           u"<menu.file.save_selection>", u"<menu.file.close>", u"-", u"1 C:\\fa",
                                           u"2 C:\\fb", u"-", u"<menu.file.exit>"}));
    EXPECT_EQ(file[6].id, 4000u);
    EXPECT_EQ(file[7].id, 4001u);
}

TEST(MenuModel, NineRecentFilesPutTheNinthInAMorePopup) {
    const auto items = BuildRecentFileItems(Files(9), KeyText, false);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[7].label, u"8 C:\\fh");
    EXPECT_EQ(items[8].kind, MenuItem::Kind::Popup);
    EXPECT_EQ(items[8].label, u"<menu.file.more_recent>");
    EXPECT_EQ(Labels(items[8].children), (std::vector<std::u16string>{u"9 C:\\fi"}));
    EXPECT_EQ(items[8].children[0].id, 4008u);
}

TEST(MenuModel, SixteenRecentFilesMakeTwoFullLevelsAndSeventeenThree) {
    const auto sixteen = BuildRecentFileItems(Files(16), KeyText, false);
    ASSERT_EQ(sixteen.size(), 9u);
    ASSERT_EQ(sixteen[8].children.size(), 8u);
    EXPECT_EQ(sixteen[8].children[7].label, u"16 C:\\fp");
    EXPECT_EQ(sixteen[8].children[7].id, 4015u);

    const auto seventeen = BuildRecentFileItems(Files(17), KeyText, false);
    ASSERT_EQ(seventeen[8].children.size(), 9u);
    EXPECT_EQ(seventeen[8].children[8].kind, MenuItem::Kind::Popup);
    EXPECT_EQ(seventeen[8].children[8].children[0].label, u"17 C:\\fq");
    EXPECT_TRUE(BuildRecentFileItems({}, KeyText, false).empty());
}

}  // namespace
}  // namespace tvx::test
