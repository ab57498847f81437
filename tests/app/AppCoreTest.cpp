// The main window's portable parts: menus, status line, title, progress, input fields, drops
// and the font dialog's lists.

#include "app/ByteCount.h"
#include "app/Commands.h"
#include "app/DropRule.h"
#include "app/FontChoice.h"
#include "app/HexOffset.h"
#include "app/MenuModel.h"
#include "app/ProgressThrottle.h"
#include "app/StatusText.h"
#include "app/WindowTitle.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

namespace tvx::test {
namespace {

using Texts = std::vector<std::u16string>;

std::u16string KeyText(std::string_view key) { return u"<" + std::u16string(key.begin(), key.end()) + u">"; }

// The commands of a menu tree, by id.
void Commands(const std::vector<MenuItem>& items, std::map<std::uint32_t, const MenuItem*>& found) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command) {
            EXPECT_TRUE(found.emplace(item.id, &item).second) << item.id;
        }
        Commands(item.children, found);
    }
}

// Whether a command is grayed in the state, written out command by command.
bool Grayed(std::uint32_t id, const MenuState& s) {
    const bool editable = s.fileOpen && !s.readOnly, selected = s.fileOpen && s.selection;
    const std::map<std::uint32_t, bool> canAct = {
        {kCmdUndo, editable && s.canUndo}, {kCmdRedo, editable && s.canRedo}, {kCmdCut, editable && s.selection},
        {kCmdFillSelection, editable && s.selection}, {kCmdPaste, editable && s.clipboardText},
        {kCmdInsertBytes, editable}, {kCmdCopy, selected}, {kCmdSaveSelectionAs, selected},
        {kCmdCopyAsHexSpaced, selected}, {kCmdCopyAsHexCompact, selected}, {kCmdCopyAsCArray, selected},
        {kCmdCopyAsPythonBytes, selected}, {kCmdCopyAsBase64, selected}, {kCmdSave, s.fileOpen},
        {kCmdSaveAs, s.fileOpen}, {kCmdClose, s.fileOpen}, {kCmdSelectAll, s.fileOpen}, {kCmdReplace, s.fileOpen},
        {kCmdFindNextAgain, s.fileOpen}, {kCmdFindPreviousAgain, s.fileOpen}, {kCmdChecksums, s.fileOpen}};
    const auto found = canAct.find(id);
    return found != canAct.end() && !found->second;
}

// Every state of the flags: each command in the bar once, grayed and checked as the state
// says; the context menu grays its commands as the bar does; while busy everything is grayed.
TEST(MenuModel, GraysAndChecksEveryCommandAsTheStateSays) {
    for (unsigned bits = 0; bits < 256; ++bits) {
        MenuState s;
        bool MenuState::*const flags[] = {&MenuState::fileOpen,  &MenuState::readOnly,      &MenuState::canUndo,
                                          &MenuState::canRedo,   &MenuState::selection,     &MenuState::clipboardText,
                                          &MenuState::dataInspectorVisible, &MenuState::structViewVisible};
        for (unsigned i = 0; i < 8; ++i) s.*flags[i] = bits >> i & 1;
        s.encoding = static_cast<TextEncoding>(bits % 4);
        s.theme = static_cast<Theme>(bits % 3);
        s.language = static_cast<Language>(bits / 3 % 3);
        s.busy = bits % 7 == 0;
        const std::vector<MenuItem> bar = BuildMenuBar(s, KeyText);
        std::map<std::uint32_t, const MenuItem*> commands, context;
        Commands(bar, commands);
        const std::vector<MenuItem> contextMenu = BuildContextMenu(s, KeyText);
        Commands(contextMenu, context);
        // The commands are numbered from Open to About and from Undo to Save Selection As.
        ASSERT_EQ(commands.size(), (kCmdAbout - kCmdOpen + 1) + (kCmdSaveSelectionAs - kCmdUndo + 1));
        EXPECT_EQ(commands.begin()->first, kCmdOpen);
        EXPECT_EQ(commands.rbegin()->first, kCmdSaveSelectionAs);
        const auto when = [](bool on, std::uint32_t id) { return on ? id : 0u; };
        const std::set<std::uint32_t> checked = {
            kCmdEncodingAscii + bits % 4, kCmdThemeLight + bits % 3, kCmdLanguageSystem + bits / 3 % 3,
            when(s.readOnly, kCmdReadOnly), when(s.dataInspectorVisible, kCmdDataInspector),
            when(s.structViewVisible, kCmdStructView)};
        for (const auto& [id, item] : commands) {
            EXPECT_EQ(item->grayed, s.busy || Grayed(id, s)) << id << " state " << bits;
            EXPECT_EQ(item->checked, checked.contains(id)) << id << " state " << bits;
        }
        for (const auto& [id, item] : context) EXPECT_EQ(item->grayed, commands.at(id)->grayed) << id;
        EXPECT_EQ(context.size(), 11u);
        for (const MenuItem& popup : bar) EXPECT_EQ(popup.grayed, s.busy);
    }
}

Texts Files(std::size_t n) {
    Texts files;
    for (std::size_t i = 0; i < n; ++i) files.push_back(u"f" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
    return files;
}

// Recent files in groups of eight, each further group in a "more" popup, numbered on.
TEST(MenuModel, RecentFilesNestEightToALevel) {
    for (std::size_t n = 0; n <= 25; ++n) {
        std::size_t next = 0;
        const std::vector<MenuItem> top = BuildRecentFileItems(Files(n), KeyText, n == 20);
        for (const std::vector<MenuItem>* level = &top; !level->empty(); level = &level->back().children) {
            for (std::size_t i = 0; i < level->size() && i < 8; ++i, ++next) {
                const MenuItem& item = (*level)[i];
                const std::string number = std::to_string(next + 1);
                EXPECT_EQ(item.label, std::u16string(number.begin(), number.end()) + u" " + Files(n)[next]);
                EXPECT_EQ(item.id, kCmdRecentFileFirst + next);
                EXPECT_EQ(item.grayed, n == 20);
            }
            if (level->size() <= 8) break;
            ASSERT_EQ(level->size(), 9u);
            EXPECT_EQ(level->back().kind, MenuItem::Kind::Popup);
            EXPECT_EQ(level->back().label, u"<menu.file.more_recent>");
            EXPECT_EQ(level->back().grayed, n == 20);
        }
        EXPECT_EQ(next, n);
    }
    MenuState state;
    state.recentFiles = Files(2);
    const auto file = BuildMenuBar(state, KeyText)[0].children;
    ASSERT_EQ(file.size(), 10u);  // the five commands, then the files between separators, then Exit
    EXPECT_EQ(file[5].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(file[8].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(file[9].id, kCmdExit);
    EXPECT_EQ(BuildMenuBar({}, KeyText)[0].children.size(), 7u);
}

// A text lookup that answers with the key's last part.
std::u16string LastPart(std::string_view key) {
    key.remove_prefix(key.rfind('.') + 1);
    return std::u16string(key.begin(), key.end());
}

TEST(StatusText, ShowsTheNoticeTheProgressOrTheViewsSummary) {
    // StatusState with every field defaulted, so that a row names only what it sets.
    struct Row {
        std::optional<std::u16string> flash = {}, saveProgress = {}, searchProgress = {};
        bool fileOpen = true;
        std::uint64_t caret = 0, documentSize = 1000;
        TextEncoding encoding = TextEncoding::Ascii;
        bool editingEnabled = false;
        EditMode mode = EditMode::Overwrite;
        bool modified = false;
        float zoom = 1.0f;
        std::u16string text = {};
    };
    const Row rows[] = {
        {.fileOpen = false, .text = u"no_file"},
        {.caret = 255, .text = u"offset: 0x000000FF  encoding: ASCII  readonly  zoom: 100%"},
        {.caret = 255, .encoding = TextEncoding::Utf16Be, .editingEnabled = true, .mode = EditMode::Insert,
         .modified = true, .zoom = 1.5f, .text = u"offset: 0x000000FF  encoding: UTF-16 BE  mode: insert  modified  zoom: 150%"},
        {.encoding = TextEncoding::Utf8, .editingEnabled = true, .zoom = 0.605f,  // halves away from zero
         .text = u"offset: 0x00000000  encoding: UTF-8  mode: overwrite  zoom: 61%"},
        {.encoding = TextEncoding::Utf16Le, .zoom = 2.5f, .text = u"offset: 0x00000000  encoding: UTF-16 LE  readonly  zoom: 250%"},
        {.caret = 0xABCDEF12, .documentSize = 3ull << 30, .encoding = static_cast<TextEncoding>(42),
         .text = u"offset: 0xABCDEF12  encoding: ASCII  readonly  zoom: 100%"},
        {.caret = 0x10, .documentSize = 4ull << 30, .text = u"offset: 0x0000000000000010  encoding: ASCII  readonly  zoom: 100%"},
        {.searchProgress = u"Searching... 40%", .text = u"Searching... 40%"},
        {.saveProgress = u"Saving... 10%", .searchProgress = u"s", .fileOpen = false, .text = u"Saving... 10%"},
        {.flash = u"read-only!", .saveProgress = u"s", .searchProgress = u"s", .text = u"read-only!"},
    };
    for (const Row& r : rows) {
        const StatusState state{r.flash,          r.saveProgress, r.searchProgress, r.fileOpen, r.caret, r.documentSize,
                                r.encoding,       r.editingEnabled, r.mode,         r.modified, r.zoom};
        EXPECT_EQ(BuildStatusText(state, LastPart), r.text);
    }
    EXPECT_EQ(ReplacedCountText(12, LastPart), u"replaced_count 12");
    EXPECT_EQ(FormatProgressText(u"Saving...", 42), u"Saving... 42%");
    EXPECT_EQ(FormatProgressText(u"", 100), u" 100%");
}

// The notice is one colour pair whatever the theme, unlike any theme's own; an unknown theme
// is drawn as Light, the only one on the system's colour.
TEST(StatusText, ColoursPerThemeAndForTheNotice) {
    const StatusColors notice = StatusBarColors(Theme::Light, true);
    for (Theme theme : {Theme::Light, Theme::DarkBlue, Theme::Black, static_cast<Theme>(9)}) {
        const StatusColors normal = StatusBarColors(theme, false);
        EXPECT_EQ(StatusBarColors(theme, true).background, notice.background);
        EXPECT_EQ(StatusBarColors(theme, true).text, notice.text);
        EXPECT_NE(normal.text, notice.text);
        EXPECT_EQ(normal.background.has_value(), theme == Theme::DarkBlue || theme == Theme::Black);
    }
    EXPECT_NE(StatusBarColors(Theme::DarkBlue, false).text, StatusBarColors(Theme::Black, false).text);
    EXPECT_EQ(StatusBarColors(static_cast<Theme>(9), false).text, StatusBarColors(Theme::Light, false).text);
}

TEST(WindowTitle, FileNameAndModifiedMark) {
    EXPECT_EQ(BuildWindowTitle(u"Tavro", false, u"C:\\a.bin", true), u"Tavro");
    EXPECT_EQ(BuildWindowTitle(u"Tavro", true, u"C:\\data\\dump.bin", false), u"Tavro - dump.bin");
    EXPECT_EQ(BuildWindowTitle(u"Tavro", true, u"/tmp/x/a b.bin", true), u"Tavro - a b.bin *");
    EXPECT_EQ(FileNamePart(u"C:name.bin"), u"name.bin");
    EXPECT_EQ(FileNamePart(u"plain"), u"plain");
}

// Runs of updates, each after a Reset: 0 % and 100 % pass the 50 ms rule, a standing value
// waits 100 ms.
TEST(ProgressThrottle, RedrawsAtMostEvery50MsMovingAnd100MsStanding) {
    constexpr std::uint64_t kStart = 1'000'000;  // a tick count well after boot
    constexpr std::size_t kTerabytes = std::size_t{10} << 40;
    struct Step {
        std::size_t done, total;
        std::uint64_t ms;
        std::optional<std::uint64_t> shown;
    };
    const std::vector<std::vector<Step>> runs = {
        {{1, 3, 0, 33}}, {{0, 0, 0, 100}}, {{7, 5, 0, 100}}, {{kTerabytes / 2, kTerabytes, 0, 50}},
        {{10, 100, 0, 10}, {11, 100, 49, {}}, {12, 100, 50, 12}},
        {{60, 100, 0, 60}, {60, 100, 60, {}}, {60, 100, 99, {}}, {60, 100, 100, 60}},
        {{50, 100, 0, 50}, {100, 100, 1, 100}, {100, 100, 2, {}}, {0, 100, 3, 0}},
    };
    ProgressThrottle throttle;
    for (const auto& run : runs) {
        for (const Step& step : run)
            EXPECT_EQ(throttle.Update(step.done, step.total, kStart + step.ms), step.shown) << step.done << " " << step.ms;
        throttle.Reset();
    }
}

TEST(ParseByteCount, DecimalOrHexadecimalAfter0x) {
    const struct {
        const char16_t* text;
        std::optional<std::uint64_t> count;
    } cases[] = {
        {u" 16 ", 16},           {u"0x100000", 1048576},  {u"0XfF", 255}, {u"18446744073709551615", ~std::uint64_t{0}},
        {u"18446744073709551616", std::nullopt}, {u"0x0", std::nullopt}, {u"", std::nullopt},
        {u"1F", std::nullopt},   {u"1 024", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseByteCount(c.text), c.count) << std::u16string(c.text).size();
}

// The Go To field: blanks trimmed, one "0x" prefix dropped, then the rest read as the C
// library's strtoull reads base 16, whole or not at all.
std::optional<std::uint64_t> StrtoullModel(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 16);
    if (errno == ERANGE || *end != '\0') return std::nullopt;
    return value;
}

TEST(ParseHexOffset, ReadsAsTheCLibraryDoes) {
    EXPECT_FALSE(ParseHexOffset(u"10000000000000000"));  // seventeen digits, beyond the random texts
    const std::string alphabet = "0123456789aFfxX+- \t\v\r\n.";
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (std::size_t n = random() % 20; n > 0; --n) text += alphabet[random() % alphabet.size()];
        EXPECT_EQ(ParseHexOffset(std::u16string(text.begin(), text.end())), StrtoullModel(text)) << text;
    }
    for (const std::uint64_t offset : {std::uint64_t{0}, std::uint64_t{0x1F}, std::uint64_t{0xABCDEF0123}, ~std::uint64_t{0}}) {
        EXPECT_EQ(ParseHexOffset(FormatHexOffset(offset)), offset);
        EXPECT_EQ(FormatHexOffset(offset).find_first_of(u"abcdef"), std::u16string::npos);
    }
    EXPECT_EQ(FormatHexOffset(0x1F), u"1F");
}

TEST(DropRule, FirstFileThatOpensStaysHereTheRestGoToNewInstances) {
    const struct {
        bool fileOpen;
        std::set<std::u16string> unopenable;
        Texts here, elsewhere;
    } cases[] = {
        {false, {}, {u"a"}, {u"b", u"c"}},
        {false, {u"a"}, {u"a", u"b"}, {u"c"}},
        {false, {u"a", u"b", u"c"}, {u"a", u"b", u"c"}, {}},
        {true, {}, {}, {u"a", u"b", u"c"}},  // an open file is never replaced
    };
    for (const auto& c : cases) {
        Texts here, elsewhere;
        DispatchDroppedFiles({u"a", u"b", u"c"}, c.fileOpen,
                             {[&](const std::u16string& path) {
                                  here.push_back(path);
                                  return !c.unopenable.contains(path);
                              },
                              [&](const std::u16string& path) { elsewhere.push_back(path); }});
        EXPECT_EQ(here, c.here);
        EXPECT_EQ(elsewhere, c.elsewhere);
    }
}

// Fixed-pitch faces with a name and not vertical ("@"), sorted without regard to case; a face
// comes once per character set, and the case reported first stays.
TEST(FontChoice, ListsFixedPitchFamiliesOnceSortedAndSelects) {
    EXPECT_EQ(FixedPitchFamilies({{u"Lucida Console", true}, {u"Arial", false}, {u"consolas", true}, {u"", true},
                                  {u"@MS Gothic", true}, {u"MS Gothic", true}, {u"Ms Gothic", true}, {u"MS GOTHIC", true},
                                  {u"Courier New", true}, {u"MS Gothic", true}}),
              (Texts{u"consolas", u"Courier New", u"Lucida Console", u"MS Gothic"}));
    EXPECT_EQ(FixedPitchFamilies({{u"@Only", true}, {u"Proportional", false}}), Texts{});
    const Texts families{u"Consolas", u"Courier New", u"DejaVu Sans Mono"};
    EXPECT_EQ(FamilyIndex(families, u"dejavu sans MONO"), 2u);
    EXPECT_EQ(FamilyIndex(families, u"Removed Font"), 0u);
    // The rounded size (halves away from zero), else the first, 8.
    for (const auto& [points, size] : {std::pair{12.5f, 13}, {12.49f, 12}, {28.0f, 28}, {15.0f, 8}})
        EXPECT_EQ(kFontSizes[FontSizeIndex(points)], size) << points;
}

}  // namespace
}  // namespace tvx::test
