#include "hexview/CopyFormat.h"

#include <algorithm>
#include <string_view>

namespace tvx {
namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";
constexpr char kLowerDigits[] = "0123456789abcdef";
constexpr std::size_t kCArrayBytesPerLine = 12;

void AppendAscii(std::u16string& text, std::string_view ascii) { text.append(ascii.begin(), ascii.end()); }

void AppendHex(std::u16string& text, std::uint8_t byte, const char* digits) {
    text.push_back(static_cast<char16_t>(digits[byte >> 4]));
    text.push_back(static_cast<char16_t>(digits[byte & 0x0F]));
}

std::u16string HexText(std::span<const std::uint8_t> bytes, bool spaced) {
    std::u16string text;
    text.reserve(bytes.size() * (spaced ? 3 : 2));
    for (const std::uint8_t byte : bytes) {
        if (spaced && !text.empty()) text.push_back(u' ');
        AppendHex(text, byte, kUpperDigits);
    }
    return text;
}

std::u16string CArrayText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() * 6 + bytes.size() / kCArrayBytesPerLine * 6 + 40);
    AppendAscii(text, "unsigned char data[" + std::to_string(bytes.size()) + "] = {\r\n");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lineStart = i % kCArrayBytesPerLine == 0;
        if (lineStart) AppendAscii(text, "    ");
        AppendAscii(text, "0x");
        AppendHex(text, bytes[i], kLowerDigits);
        const bool last = i + 1 == bytes.size();
        if (!last) text.push_back(u',');
        if (last || (i + 1) % kCArrayBytesPerLine == 0)
            AppendAscii(text, "\r\n");
        else
            text.push_back(u' ');
    }
    AppendAscii(text, "};");
    return text;
}

std::u16string PythonText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() * 4 + 3);
    AppendAscii(text, "b'");
    for (const std::uint8_t byte : bytes) {
        AppendAscii(text, "\\x");
        AppendHex(text, byte, kLowerDigits);
    }
    text.push_back(u'\'');
    return text;
}

std::u16string Base64Text(std::span<const std::uint8_t> bytes) {
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::u16string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = std::uint32_t{bytes[i]} << 16;
        if (count > 1) group |= std::uint32_t{bytes[i + 1]} << 8;
        if (count > 2) group |= bytes[i + 2];
        for (std::size_t k = 0; k < 4; ++k)
            text.push_back(k <= count ? static_cast<char16_t>(kAlphabet[(group >> (18 - 6 * k)) & 0x3F]) : u'=');
    }
    return text;
}

}  // namespace

std::u16string FormatCopyText(std::span<const std::uint8_t> bytes, CopyFormat format) {
    switch (format) {
    case CopyFormat::HexCompact:
        return HexText(bytes, false);
    case CopyFormat::CArray:
        return CArrayText(bytes);
    case CopyFormat::PythonBytes:
        return PythonText(bytes);
    case CopyFormat::Base64:
        return Base64Text(bytes);
    case CopyFormat::HexSpaced:
        break;
    }
    return HexText(bytes, true);
}

}  // namespace tvx
