#include "app/MenuModel.h"

#include "app/Commands.h"

#include <string>

namespace tvx {
namespace {

constexpr std::size_t kRecentGroupSize = 8;

class MenuBuilder {
public:
    MenuBuilder(const TextLookup& text, bool grayed) : text_(text), grayed_(grayed) {}

    MenuItem Command(std::string_view key, std::uint32_t id, bool checked = false, bool grayed = false) const {
        MenuItem item{MenuItem::Kind::Command, text_(key), id, checked, grayed_ || grayed, {}};
        return item;
    }
    MenuItem Popup(std::string_view key, std::vector<MenuItem> children) const {
        return MenuItem{MenuItem::Kind::Popup, text_(key), 0, false, grayed_, std::move(children)};
    }
    static MenuItem Separator() { return MenuItem{MenuItem::Kind::Separator, {}, 0, false, false, {}}; }

private:
    const TextLookup& text_;
    bool grayed_;
};

MenuItem CopyAsPopup(const MenuBuilder& m, const MenuState& s) {
    const bool grayed = !s.fileOpen || !s.selection;
    // The popup itself stays enabled: graying as a menu opens reaches commands only.
    return m.Popup("menu.edit.copy_as",
                   {m.Command("menu.edit.copy_as.hex_spaced", kCmdCopyAsHexSpaced, false, grayed),
                    m.Command("menu.edit.copy_as.hex_compact", kCmdCopyAsHexCompact, false, grayed),
                    m.Command("menu.edit.copy_as.c_array", kCmdCopyAsCArray, false, grayed),
                    m.Command("menu.edit.copy_as.python", kCmdCopyAsPythonBytes, false, grayed),
                    m.Command("menu.edit.copy_as.base64", kCmdCopyAsBase64, false, grayed)});
}

}  // namespace

std::vector<MenuItem> BuildRecentFileItems(const std::vector<std::u16string>& files, const TextLookup& text,
                                           bool grayed) {
    std::vector<MenuItem> top;
    std::vector<MenuItem>* level = &top;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0 && i % kRecentGroupSize == 0) {
            level->push_back(MenuItem{MenuItem::Kind::Popup, text("menu.file.more_recent"), 0, false, grayed, {}});
            level = &level->back().children;
        }
        std::u16string label;
        for (char c : std::to_string(i + 1)) label.push_back(static_cast<char16_t>(c));
        label += u' ' + files[i];
        level->push_back(MenuItem{MenuItem::Kind::Command, std::move(label),
                                  static_cast<std::uint32_t>(kCmdRecentFileFirst + i), false, grayed, {}});
    }
    return top;
}

std::vector<MenuItem> BuildContextMenu(const MenuState& s, const TextLookup& text) {
    const MenuBuilder m(text, s.busy);
    const bool editable = s.fileOpen && !s.readOnly;
    return {m.Command("menu.edit.cut", kCmdCut, false, !editable || !s.selection),
            m.Command("menu.edit.copy", kCmdCopy, false, !s.fileOpen || !s.selection),
            CopyAsPopup(m, s),
            m.Command("menu.edit.paste", kCmdPaste, false, !editable || !s.clipboardText),
            MenuBuilder::Separator(),
            m.Command("menu.edit.fill", kCmdFillSelection, false, !editable || !s.selection),
            m.Command("menu.edit.insert_bytes", kCmdInsertBytes, false, !editable),
            MenuBuilder::Separator(),
            m.Command("menu.edit.select_all", kCmdSelectAll, false, !s.fileOpen)};
}

std::vector<MenuItem> BuildMenuBar(const MenuState& s, const TextLookup& text) {
    const MenuBuilder m(text, s.busy);

    std::vector<MenuItem> file{m.Command("menu.file.open", kCmdOpen),
                               m.Command("menu.file.save", kCmdSave, false, !s.fileOpen),
                               m.Command("menu.file.save_as", kCmdSaveAs, false, !s.fileOpen),
                               m.Command("menu.file.save_selection", kCmdSaveSelectionAs, false,
                                         !s.fileOpen || !s.selection),
                               m.Command("menu.file.close", kCmdClose, false, !s.fileOpen)};
    if (!s.recentFiles.empty()) {
        file.push_back(MenuBuilder::Separator());
        for (MenuItem& item : BuildRecentFileItems(s.recentFiles, text, s.busy)) file.push_back(std::move(item));
    }
    file.push_back(MenuBuilder::Separator());
    file.push_back(m.Command("menu.file.exit", kCmdExit));

    const bool editable = s.fileOpen && !s.readOnly;
    std::vector<MenuItem> edit{m.Command("menu.edit.undo", kCmdUndo, false, !editable || !s.canUndo),
                               m.Command("menu.edit.redo", kCmdRedo, false, !editable || !s.canRedo),
                               MenuBuilder::Separator(),
                               m.Command("menu.edit.cut", kCmdCut, false, !editable || !s.selection),
                               m.Command("menu.edit.copy", kCmdCopy, false, !s.fileOpen || !s.selection),
                               CopyAsPopup(m, s),
                               m.Command("menu.edit.paste", kCmdPaste, false, !editable || !s.clipboardText),
                               m.Command("menu.edit.select_all", kCmdSelectAll, false, !s.fileOpen),
                               MenuBuilder::Separator(),
                               m.Command("menu.edit.fill", kCmdFillSelection, false, !editable || !s.selection),
                               m.Command("menu.edit.insert_bytes", kCmdInsertBytes, false, !editable),
                               MenuBuilder::Separator(),
                               m.Command("menu.edit.replace", kCmdReplace, false, !s.fileOpen),
                               MenuBuilder::Separator(),
                               m.Command("menu.edit.readonly", kCmdReadOnly, s.readOnly)};

    std::vector<MenuItem> view{m.Command("menu.view.find", kCmdFind),
                               m.Command("menu.view.find_next", kCmdFindNextAgain, false, !s.fileOpen),
                               m.Command("menu.view.find_previous", kCmdFindPreviousAgain, false, !s.fileOpen),
                               m.Command("menu.view.goto", kCmdGoTo),
                               MenuBuilder::Separator(),
                               m.Popup("menu.view.zoom", {m.Command("menu.view.zoom.out", kCmdZoomOut),
                                                          m.Command("menu.view.zoom.in", kCmdZoomIn),
                                                          MenuBuilder::Separator(),
                                                          m.Command("menu.view.zoom.reset", kCmdZoomReset)})};

    const auto enc = [&](std::string_view key, std::uint32_t id, TextEncoding e) {
        return m.Command(key, id, s.encoding == e);
    };
    const auto theme = [&](std::string_view key, std::uint32_t id, Theme t) { return m.Command(key, id, s.theme == t); };
    const auto lang = [&](std::string_view key, std::uint32_t id, Language l) {
        return m.Command(key, id, s.language == l);
    };
    std::vector<MenuItem> settings{
        m.Popup("menu.view.encoding", {enc("menu.view.encoding.ascii", kCmdEncodingAscii, TextEncoding::Ascii),
                                       enc("menu.view.encoding.utf8", kCmdEncodingUtf8, TextEncoding::Utf8),
                                       enc("menu.view.encoding.utf16le", kCmdEncodingUtf16Le, TextEncoding::Utf16Le),
                                       enc("menu.view.encoding.utf16be", kCmdEncodingUtf16Be, TextEncoding::Utf16Be)}),
        m.Popup("menu.view.theme", {theme("menu.view.theme.light", kCmdThemeLight, Theme::Light),
                                    theme("menu.view.theme.darkblue", kCmdThemeDarkBlue, Theme::DarkBlue),
                                    theme("menu.view.theme.black", kCmdThemeBlack, Theme::Black)}),
        m.Popup("menu.view.language", {lang("menu.view.language.system", kCmdLanguageSystem, Language::System),
                                       lang("menu.view.language.english", kCmdLanguageEnglish, Language::English),
                                       lang("menu.view.language.japanese", kCmdLanguageJapanese, Language::Japanese)}),
        m.Popup("menu.settings.analysis",
                {m.Command("menu.settings.analysis.data_inspector", kCmdDataInspector, s.dataInspectorVisible),
                 m.Command("menu.settings.analysis.struct_view", kCmdStructView, s.structViewVisible)}),
        MenuBuilder::Separator(),
        m.Command("menu.settings.font", kCmdFont)};

    std::vector<MenuItem> tools{m.Command("menu.tools.checksums", kCmdChecksums, false, !s.fileOpen)};

    std::vector<MenuItem> help{m.Command("menu.help.about", kCmdAbout)};

    return {m.Popup("menu.file", std::move(file)), m.Popup("menu.edit", std::move(edit)),
            m.Popup("menu.view", std::move(view)), m.Popup("menu.tools", std::move(tools)),
            m.Popup("menu.settings", std::move(settings)),
            m.Popup("menu.help", std::move(help))};
}

}  // namespace tvx
