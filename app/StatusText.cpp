#include "app/StatusText.h"

#include "hexview/HexMetrics.h"

#include <cmath>

namespace tvx {
namespace {

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string PaddedHex(std::uint64_t value, int digits) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text(static_cast<std::size_t>(digits), u'0');
    for (int i = digits - 1; i >= 0 && value != 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
}

}  // namespace

std::u16string EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return u"UTF-8";
        case TextEncoding::Utf16Le: return u"UTF-16 LE";
        case TextEncoding::Utf16Be: return u"UTF-16 BE";
        default: return u"ASCII";
    }
}

std::u16string BuildStatusText(const StatusState& s, const TextLookup& text) {
    if (s.flash) return *s.flash;
    if (s.saveProgress) return *s.saveProgress;
    if (s.searchProgress) return *s.searchProgress;
    if (!s.fileOpen) return text("status.no_file");

    std::u16string line = text("status.offset") + u": 0x" + PaddedHex(s.caret, OffsetDigits(s.documentSize));
    line += u"  " + text("status.encoding") + u": " + EncodingName(s.encoding);
    if (s.editingEnabled)
        line += u"  " + text("status.mode") + u": " +
                text(s.mode == EditMode::Insert ? "status.mode.insert" : "status.mode.overwrite");
    else
        line += u"  " + text("status.readonly");
    if (s.modified) line += u"  " + text("status.modified");
    // lround: halves away from zero.
    line += u"  " + text("status.zoom") + u": " + Ascii(std::to_string(std::lround(s.zoom * 100.0f))) + u"%";
    return line;
}

StatusColors StatusBarColors(Theme theme, bool flashActive) noexcept {
    if (flashActive) return {Rgb{180, 32, 32}, Rgb{255, 255, 255}};
    switch (theme) {
        case Theme::DarkBlue: return {Rgb{13, 27, 42}, Rgb{230, 238, 243}};
        case Theme::Black: return {Rgb{17, 17, 17}, Rgb{243, 243, 243}};
        default: return {std::nullopt, Rgb{32, 32, 32}};
    }
}

std::u16string ReplacedCountText(std::uint64_t count, const TextLookup& text) {
    return text("info.replaced_count") + u" " + Ascii(std::to_string(count));
}

}  // namespace tvx
