#include "structpattern/CharClass.h"

namespace tvx {
namespace {

constexpr bool InRange(char16_t c, char16_t first, char16_t last) noexcept { return c >= first && c <= last; }

bool IsGreekLetter(char16_t c) noexcept {
    return c == u'\u0386' || InRange(c, u'\u0388', u'\u038A') || c == u'\u038C' ||
           InRange(c, u'\u038E', u'\u03A1') || InRange(c, u'\u03A3', u'\u03CE');
}

char16_t GreekLower(char16_t c) noexcept {
    if (c == u'\u0386') return u'\u03AC';
    if (InRange(c, u'\u0388', u'\u038A')) return static_cast<char16_t>(c + 0x25);
    if (c == u'\u038C') return u'\u03CC';
    if (InRange(c, u'\u038E', u'\u038F')) return static_cast<char16_t>(c + 0x3F);
    if (InRange(c, u'\u0391', u'\u03AB') && c != u'\u03A2') return static_cast<char16_t>(c + 0x20);
    return c;
}

}  // namespace

bool IsPatternSpace(char16_t c) noexcept {
    return InRange(c, u'\t', u'\r') || c == u' ' || c == u'\u0085' || c == u'\u00A0' || c == u'\u1680' ||
           InRange(c, u'\u2000', u'\u200A') || c == u'\u2028' || c == u'\u2029' || c == u'\u202F' ||
           c == u'\u205F' || c == u'\u3000';
}

bool IsPatternDigit(char16_t c) noexcept { return InRange(c, u'0', u'9'); }

bool IsPatternLetter(char16_t c) noexcept {
    if (c < 0x80) return InRange(c, u'A', u'Z') || InRange(c, u'a', u'z');
    return (InRange(c, u'\u00C0', u'\u00FF') && c != u'\u00D7' && c != u'\u00F7') || IsGreekLetter(c) ||
           InRange(c, u'\u0400', u'\u045F') || InRange(c, u'\u3041', u'\u3096') ||
           InRange(c, u'\u30A1', u'\u30FA') || c == u'\u30FC' || InRange(c, u'\u3400', u'\u4DBF') ||
           InRange(c, u'\u4E00', u'\u9FFF') || InRange(c, u'\uAC00', u'\uD7A3');
}

bool IsPatternLetterOrDigit(char16_t c) noexcept { return IsPatternLetter(c) || IsPatternDigit(c); }

char16_t ToPatternLower(char16_t c) noexcept {
    if (InRange(c, u'A', u'Z') || (InRange(c, u'\u00C0', u'\u00DE') && c != u'\u00D7'))
        return static_cast<char16_t>(c + 0x20);
    if (InRange(c, u'\u0386', u'\u03AB')) return GreekLower(c);
    if (InRange(c, u'\u0400', u'\u040F')) return static_cast<char16_t>(c + 0x50);
    if (InRange(c, u'\u0410', u'\u042F')) return static_cast<char16_t>(c + 0x20);
    return c;
}

}  // namespace tvx
