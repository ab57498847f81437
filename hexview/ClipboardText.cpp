#include "hexview/ClipboardText.h"

#include "hexview/Utf16Units.h"

namespace tvx {
namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

void AppendUtf8(std::vector<std::uint8_t>& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<std::uint8_t>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<std::uint8_t>(0xC0 | c >> 6));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<std::uint8_t>(0xE0 | c >> 12));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<std::uint8_t>(0xF0 | c >> 18));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 12 & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::optional<std::uint8_t> HexDigitValue(char16_t c) noexcept {
    if (c >= u'0' && c <= u'9') return static_cast<std::uint8_t>(c - u'0');
    if (c >= u'a' && c <= u'f') return static_cast<std::uint8_t>(c - u'a' + 10);
    if (c >= u'A' && c <= u'F') return static_cast<std::uint8_t>(c - u'A' + 10);
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ParseHexText(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSpace(text[i])) {
            ++i;
            continue;
        }
        // One run of digits between spaces: an optional 0x, then pairs.
        if (text[i] == u'0' && i + 1 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X')) i += 2;
        std::size_t digits = 0;
        for (; i < text.size() && !IsSpace(text[i]); ++i, ++digits) {
            const auto value = HexDigitValue(text[i]);
            if (!value) return std::nullopt;
            if (digits % 2 == 0)
                bytes.push_back(static_cast<std::uint8_t>(*value << 4));
            else
                bytes.back() = static_cast<std::uint8_t>(bytes.back() | *value);
        }
        if (digits == 0 || digits % 2 != 0) return std::nullopt;
    }
    if (bytes.empty()) return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::uint8_t>> EncodeText(std::u16string_view text, TextEncoding encoding) {
    std::vector<std::uint8_t> bytes;
    switch (encoding) {
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            bytes.reserve(text.size() * 2);
            for (const char16_t unit : text) {
                const auto low = static_cast<std::uint8_t>(unit & 0xFF);
                const auto high = static_cast<std::uint8_t>(unit >> 8);
                bytes.push_back(encoding == TextEncoding::Utf16Le ? low : high);
                bytes.push_back(encoding == TextEncoding::Utf16Le ? high : low);
            }
            return bytes;
        case TextEncoding::Utf8:
            bytes.reserve(text.size());
            for (std::size_t i = 0; i < text.size(); ++i) {
                char32_t c = text[i];
                if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                    ++i;
                } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
                    return std::nullopt;
                }
                AppendUtf8(bytes, c);
            }
            return bytes;
        default:
            bytes.reserve(text.size());
            for (const char16_t unit : text) {
                if (unit >= 0x80) return std::nullopt;
                bytes.push_back(static_cast<std::uint8_t>(unit));
            }
            return bytes;
    }
}

PasteBytes BytesToPaste(std::u16string_view text, TextEncoding encoding) {
    if (text.empty()) return {{}, PasteError::Empty};
    if (auto hex = ParseHexText(text)) return {std::move(*hex), PasteError::None};
    if (auto encoded = EncodeText(text, encoding)) return {std::move(*encoded), PasteError::None};
    return {{}, PasteError::NotEncodable};
}

}  // namespace tvx
