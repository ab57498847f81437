#include "tools/tavro-cli/TerminalText.h"

#include "platform/Utf8.h"

#include <cstdio>
#include <ostream>

namespace tvx::cli {
namespace {

struct Range {
    char32_t first, last;
};

// The format characters (general category Cf) and the separators U+2028 and U+2029.
constexpr Range kInvisible[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
    {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},
    {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

bool IsInvisible(char32_t code) {
    for (const Range& range : kInvisible)
        if (code >= range.first && code <= range.last) return true;
    return false;
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
    char escape[16];
    const int n = std::snprintf(escape, sizeof escape, format, value);
    out.append(escape, static_cast<std::size_t>(n));
}

}  // namespace

void AppendTerminalText(std::string& out, std::u16string_view text) {
    std::size_t plain = 0;  // start of the run not yet appended
    const auto flushPlain = [&](std::size_t upTo) {
        if (upTo > plain) out += platform::EncodeUtf8(text.substr(plain, upTo - plain));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        std::size_t units = 1;
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            units = 2;
        }
        const bool lone = units == 1 && code >= 0xD800 && code <= 0xDFFF;
        const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
        if (!control && !lone && !IsInvisible(code)) {
            i += units - 1;
            continue;
        }
        flushPlain(i);
        if (control) AppendEscape(out, "\\x%02X", static_cast<unsigned>(code));
        else if (lone && code >= 0xDC80 && code <= 0xDCFF) AppendEscape(out, "\\x%02X", static_cast<unsigned>(code - 0xDC00));
        else AppendEscape(out, "\\u{%04X}", static_cast<unsigned>(code));
        i += units - 1;
        plain = i + 1;
    }
    flushPlain(text.size());
}

std::string TerminalText(std::u16string_view text) {
    std::string out;
    AppendTerminalText(out, text);
    return out;
}

TerminalWriter::TerminalWriter(std::ostream& out) : out_(out) { buffer_.reserve(kCapacity + 4096); }

TerminalWriter::~TerminalWriter() { Flush(); }

void TerminalWriter::Raw(std::string_view ascii) {
    buffer_ += ascii;
    Spill();
}

void TerminalWriter::Raw(char c) {
    buffer_ += c;
    Spill();
}

void TerminalWriter::Text(std::u16string_view text) {
    AppendTerminalText(buffer_, text);
    Spill();
}

void TerminalWriter::Spill() {
    if (buffer_.size() >= kCapacity) Flush();
}

void TerminalWriter::Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

}  // namespace tvx::cli
