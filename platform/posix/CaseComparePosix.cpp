#include "platform/CaseCompare.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>

namespace tvx::platform {
namespace {

// The "C" locale maps only ASCII letters; C.UTF-8 carries the full Unicode case mapping.
locale_t CaseLocale() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

char16_t Upper(char16_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) return c;  // surrogate halves compare as they are
    const locale_t locale = CaseLocale();
    if (locale == static_cast<locale_t>(nullptr)) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
    const wint_t upper = ::towupper_l(static_cast<wint_t>(c), locale);
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

}  // namespace

int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        const char16_t upperA = Upper(a[i]), upperB = Upper(b[i]);
        if (upperA != upperB) return upperA < upperB ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

}  // namespace tvx::platform
