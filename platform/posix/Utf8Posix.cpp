// UTF-8 conversion with the verdicts of MultiByteToWideChar / WideCharToMultiByte (CP_UTF8).

#include "platform/Utf8.h"

#include <cstdint>

namespace tvx::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
// An undecodable byte b stands as the lone surrogate kEscapedByteBase + b (b is 0x80..0xFF).
constexpr char16_t kEscapedByteBase = 0xDC00;

// Length of the well-formed sequence at the start of bytes, 0 when it is ill-formed.
// Follows the Unicode table of well-formed byte sequences, which rules out overlong forms,
// surrogates and values above U+10FFFF. On failure, `valid` is the length of the maximal
// prefix that could still have begun a sequence (at least 1).
std::size_t ScanSequence(std::string_view bytes, char32_t& code, std::size_t& valid) {
    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = b(0);
    valid = 1;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    code = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size()) return 0;
        const std::uint8_t next = b(i);
        const std::uint8_t lo = i == 1 ? low : 0x80, hi = i == 1 ? high : 0xBF;
        if (next < lo || next > hi) return 0;
        code = (code << 6) | (next & 0x3F);
        valid = i + 1;
    }
    return length;
}

void AppendCodePoint(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
    } else {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

bool DecodeUtf8Strict(std::string_view utf8, std::u16string& out) {
    out.clear();
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t code = 0;
        std::size_t valid = 0;
        const std::size_t length = ScanSequence(utf8, code, valid);
        if (length == 0) {
            out.clear();
            return false;
        }
        AppendCodePoint(out, code);
        utf8.remove_prefix(length);
    }
    return true;
}

std::u16string DecodeUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t code = 0;
        std::size_t valid = 0;
        const std::size_t length = ScanSequence(utf8, code, valid);
        if (length == 0) {
            out += kReplacement;  // one replacement per maximal ill-formed subpart
            utf8.remove_prefix(valid);
            continue;
        }
        AppendCodePoint(out, code);
        utf8.remove_prefix(length);
    }
    return out;
}

std::u16string DecodeUtf8Bytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        std::size_t valid = 0;
        const std::size_t length = ScanSequence(bytes, code, valid);
        if (length == 0) {
            out += static_cast<char16_t>(kEscapedByteBase + static_cast<std::uint8_t>(bytes[0]));
            bytes.remove_prefix(1);
            continue;
        }
        AppendCodePoint(out, code);
        bytes.remove_prefix(length);
    }
    return out;
}

namespace {

std::string Encode(std::u16string_view text, bool escapedBytes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (escapedBytes && code >= kEscapedByteBase + 0x80 && code <= kEscapedByteBase + 0xFF) {
            out += static_cast<char>(code - kEscapedByteBase);
            continue;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace

std::string EncodeUtf8(std::u16string_view text) { return Encode(text, false); }

std::string EncodeUtf8Bytes(std::u16string_view text) { return Encode(text, true); }

}  // namespace tvx::platform
