#include "settings/JsonScan.h"

#include "platform/Utf8.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tvx {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::size_t SkipSpace(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    return pos;
}

// The position of the value behind the first `"key" :` at or after from. An occurrence of
// the quoted key that no colon follows (a string value that happens to equal the key) is
// passed over. Each retry starts behind the previous hit, so the scan stays linear.
std::size_t FindValue(std::string_view text, std::string_view key, std::size_t from) {
    std::string quoted;
    quoted.reserve(key.size() + 2);
    quoted.append(1, '"').append(key).append(1, '"');
    while (from <= text.size()) {
        const std::size_t hit = text.find(quoted, from);
        if (hit == kNone) return kNone;
        const std::size_t colon = SkipSpace(text, hit + quoted.size());
        if (colon < text.size() && text[colon] == ':') return SkipSpace(text, colon + 1);
        from = hit + 1;
    }
    return kNone;
}

// The position behind the string that opens at text[open] (a double quote), or kNone when
// the string is not closed before end.
std::size_t SkipString(std::string_view text, std::size_t open, std::size_t end) {
    for (std::size_t pos = open + 1; pos < end; ++pos) {
        if (text[pos] == '\\')
            ++pos;
        else if (text[pos] == '"')
            return pos + 1;
    }
    return kNone;
}

// The position of the closer that matches the opener at text[open], counting only the
// opener and closer characters outside strings; kNone when the text ends first.
std::size_t FindMatching(std::string_view text, std::size_t open, char opener, char closer) {
    std::size_t depth = 0;
    std::size_t pos = open;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '"') {
            pos = SkipString(text, pos, text.size());
            if (pos == kNone) return kNone;
            continue;
        }
        if (c == opener) {
            ++depth;
        } else if (c == closer && --depth == 0) {
            return pos;
        }
        ++pos;
    }
    return kNone;
}

// The first occurrence of c in [from, end) that lies outside strings.
std::size_t FindOutsideStrings(std::string_view text, std::size_t from, std::size_t end, char c) {
    std::size_t pos = from;
    while (pos < end) {
        if (text[pos] == c) return pos;
        if (text[pos] == '"') {
            pos = SkipString(text, pos, end);
            if (pos == kNone) return kNone;
            continue;
        }
        ++pos;
    }
    return kNone;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code unit of the four hexadecimal digits at text[pos], or -1.
long HexQuad(std::string_view text, std::size_t pos, std::size_t end) {
    if (pos > end || end - pos < 4) return -1;
    long value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int digit = HexDigit(text[pos + i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool IsHighSurrogate(long unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(long unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes the \u escape whose "u" is at text[pos]: appends its UTF-8 form to out and
// returns the position of its last byte. Without four hexadecimal digits the "u" stands
// for itself. A lone surrogate becomes U+FFFD.
std::size_t DecodeUnicodeEscape(std::string_view text, std::size_t pos, std::size_t end, std::string& out) {
    const long unit = HexQuad(text, pos + 1, end);
    if (unit < 0) {
        out += 'u';
        return pos;
    }
    std::u16string units(1, static_cast<char16_t>(unit));
    std::size_t last = pos + 4;
    if (IsHighSurrogate(unit) && last + 2 < end && text[last + 1] == '\\' && text[last + 2] == 'u') {
        const long low = HexQuad(text, last + 3, end);
        if (IsLowSurrogate(low)) {
            units += static_cast<char16_t>(low);
            last += 6;
        }
    }
    out += platform::EncodeUtf8(units);
    return last;
}

// Reads the string that opens at text[open] and must close before end. On success stores
// its unescaped bytes in value and returns the position behind the closing quote.
std::size_t ReadString(std::string_view text, std::size_t open, std::size_t end, std::string& value) {
    value.clear();
    for (std::size_t pos = open + 1; pos < end; ++pos) {
        const char c = text[pos];
        if (c == '"') return pos + 1;
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++pos >= end) break;
        switch (text[pos]) {
        case 'b': value += '\b'; break;
        case 'f': value += '\f'; break;
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        case 'u': pos = DecodeUnicodeEscape(text, pos, end, value); break;
        default: value += text[pos]; break;
        }
    }
    return kNone;
}

// The array behind key: the positions of its "[" and its matching "]".
bool FindArray(std::string_view text, std::string_view key, std::size_t& open, std::size_t& close) {
    open = FindValue(text, key, 0);
    if (open >= text.size() || text[open] != '[') return false;
    close = FindMatching(text, open, '[', ']');
    return close != kNone;
}

}  // namespace

std::string EscapeJsonString(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + 8);
    for (const char c : utf8) {
        switch (c) {
        case '\b': out += "\\b"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\f': out += "\\f"; break;
        case '\r': out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::optional<std::string> ReadStringValue(std::string_view text, std::string_view key, std::size_t from) {
    const std::size_t open = FindValue(text, key, from);
    if (open >= text.size() || text[open] != '"') return std::nullopt;
    std::string value;
    if (ReadString(text, open, text.size(), value) == kNone) return std::nullopt;
    return value;
}

std::optional<bool> ReadBoolValue(std::string_view text, std::string_view key, std::size_t from) {
    const std::size_t pos = FindValue(text, key, from);
    if (pos >= text.size()) return std::nullopt;
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with("true")) return true;
    if (rest.starts_with("false")) return false;
    return std::nullopt;
}

std::optional<float> ReadFloatValue(std::string_view text, std::string_view key, std::size_t from) {
    const std::size_t start = FindValue(text, key, from);
    if (start >= text.size()) return std::nullopt;
    std::size_t end = start;
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '+' || text[end] == '-' ||
                                 text[end] == '.'))
        ++end;
    // from_chars is strtof without the locale and without a leading plus sign.
    std::size_t first = start;
    if (first < end && text[first] == '+') ++first;
    float value = 0.0f;
    const auto result = std::from_chars(text.data() + first, text.data() + end, value, std::chars_format::fixed);
    if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::size_t> FindObjectStart(std::string_view text, std::string_view key, std::size_t from) {
    const std::size_t open = FindValue(text, key, from);
    if (open >= text.size() || text[open] != '{') return std::nullopt;
    if (FindMatching(text, open, '{', '}') == kNone) return std::nullopt;
    return open;
}

std::vector<std::u16string> ReadStringArray(std::string_view text, std::string_view key, std::size_t maxCount) {
    std::vector<std::u16string> list;
    std::size_t open = 0, close = 0;
    if (!FindArray(text, key, open, close)) return list;
    std::string value;
    for (std::size_t pos = open + 1; list.size() < maxCount;) {
        const std::size_t quote = text.find('"', pos);
        if (quote >= close) break;
        pos = ReadString(text, quote, close, value);
        if (pos == kNone) break;
        list.push_back(platform::DecodeUtf8(value));
    }
    return list;
}

std::vector<SearchHistoryEntry> ReadSearchHistory(std::string_view text, std::size_t maxCount) {
    std::vector<SearchHistoryEntry> history;
    std::size_t open = 0, close = 0;
    if (!FindArray(text, "searchHistory", open, close)) return history;
    for (std::size_t pos = open + 1; history.size() < maxCount;) {
        const std::size_t objectOpen = FindOutsideStrings(text, pos, close, '{');
        if (objectOpen == kNone) break;
        const std::size_t objectClose = FindMatching(text, objectOpen, '{', '}');
        // An object that runs past the array's end means the rest is garbled: stop there
        // rather than rescan it for every later brace.
        if (objectClose == kNone || objectClose > close) break;
        const std::string_view object = text.substr(objectOpen, objectClose - objectOpen + 1);
        const auto kind = ReadStringValue(object, "kind", 0);
        const auto query = ReadStringValue(object, "query", 0);
        if (kind && query) history.push_back({platform::DecodeUtf8(*kind), platform::DecodeUtf8(*query)});
        pos = objectClose + 1;
    }
    return history;
}

}  // namespace tvx
