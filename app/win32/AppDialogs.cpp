// The go-to, font and about commands.

#include "app/HexOffset.h"
#include "app/win32/AboutDialog.h"
#include "app/win32/AppWindow.h"
#include "app/win32/DialogSupport.h"
#include "app/win32/FontDialog.h"
#include "app/win32/PromptDialog.h"

namespace tvx {

void AppWindow::GoToOffset() {
    if (!document_.IsOpen()) return;
    HexView& view = hexView_.View();
    const std::optional<std::u16string> text = ShowPromptDialog(
        window_, instance_, Text("dialog.goto.title"), Text("dialog.goto.prompt"), FormatHexOffset(view.Caret()));
    if (!text) return;
    const std::optional<std::uint64_t> offset = ParseHexOffset(*text);
    if (!offset) {
        MessageBoxW(window_, Wide(Text("error.goto_invalid")), Wide(Text("dialog.goto.title")), MB_ICONERROR);
        return;
    }
    view.SetCaret(*offset);  // clamped to the last caret position, scrolled into view
    if (hexView_.Window()) SetFocus(hexView_.Window());
    RefreshStatusBar();
}

void AppWindow::ShowFontDialog() {
    const FontDialogTexts texts{Text("dialog.font.title"), Text("dialog.font.family"), Text("dialog.font.size"),
                                Text("dialog.font.bold"),  Text("dialog.font.italic"), Text("dialog.common.ok"),
                                Text("dialog.common.cancel")};
    const std::vector<std::u16string> families = InstalledFixedPitchFamilies();
    if (families.empty()) {
        MessageBoxW(window_, Wide(Text("error.font_not_monospace")), Wide(Text("app.title")), MB_ICONERROR);
        return;
    }
    HexView& view = hexView_.View();
    // The view keeps its size in device-independent pixels.
    const FontSelection current{view.Font().family, view.Metrics().baseFontSize * 72.0f / 96.0f, view.Font().bold,
                                view.Font().italic};
    const std::optional<FontSelection> chosen = RunFontDialog(window_, instance_, texts, families, current);
    if (!chosen) return;
    view.SetFont(chosen->family, chosen->points, chosen->bold, chosen->italic);
    settings_.fontFamily = chosen->family;
    settings_.fontSize = chosen->points;
    settings_.bold = chosen->bold;
    settings_.italic = chosen->italic;
    SaveSettingsNow();
    RefreshStatusBar();
}

void AppWindow::ShowAboutDialog() {
    RunAboutDialog(window_, instance_,
                   {Text("dialog.about.title"), Text("about.version_label"), Text("about.homepage_label"),
                    Text("about.license_heading"), Text("dialog.common.close")});
}

}  // namespace tvx
