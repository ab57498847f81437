#pragma once
// The status bar's one line of text and its colours.

#include "app/MenuModel.h"
#include "hexview/HexPalette.h"
#include "hexview/HexView.h"
#include "settings/Enums.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tvx {

// What the status line shows, highest priority first.
struct StatusState {
    std::optional<std::u16string> flash;          // the read-only notice
    std::optional<std::u16string> saveProgress;   // while saving
    std::optional<std::u16string> searchProgress; // while searching
    bool fileOpen = false;
    std::uint64_t caret = 0;
    std::uint64_t documentSize = 0;
    TextEncoding encoding = TextEncoding::Ascii;
    bool editingEnabled = false;
    EditMode mode = EditMode::Overwrite;
    bool modified = false;
    float zoom = 1.0f;
};

// "ASCII", "UTF-8", "UTF-16 LE", "UTF-16 BE"; any other value "ASCII".
[[nodiscard]] std::u16string EncodingName(TextEncoding encoding);

// Offset, encoding, mode or read-only, modified mark and zoom, two spaces apart; or the
// notice, a progress text or the no-file text when one of them applies.
[[nodiscard]] std::u16string BuildStatusText(const StatusState& state, const TextLookup& text);

// What Replace All reports: "Matches replaced: 12".
[[nodiscard]] std::u16string ReplacedCountText(std::uint64_t count, const TextLookup& text);

struct StatusColors {
    std::optional<Rgb> background;  // empty: the system's button face colour
    Rgb text;
};

// The bar's colours for a theme; the notice is white on red whatever the theme.
[[nodiscard]] StatusColors StatusBarColors(Theme theme, bool flashActive) noexcept;

}  // namespace tvx
