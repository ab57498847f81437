#include "structpattern/PatternError.h"

#include "structpattern/NumberText.h"

#include <algorithm>

namespace tvx {

std::u16string FormatPatternError(const std::u16string& source, std::uint32_t line, std::uint32_t column,
                                  const std::u16string& message) {
    std::u16string text = u"Line " + DecimalText(line) + u", Col " + DecimalText(column) + u": " + message;
    if (line < 1) return text;

    std::size_t start = 0;
    for (std::uint32_t n = 1; n < line; ++n) {
        const std::size_t feed = source.find(u'\n', start);
        if (feed == std::u16string::npos) return text;  // the source has fewer lines
        start = feed + 1;
    }
    std::size_t end = source.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = source.size();
    if (end == start) return text;

    text += u"\r\n";
    text.append(source, start, end - start);
    text += u"\r\n";
    text.append(std::max<std::uint32_t>(column, 1) - 1, u' ');
    text += u'^';
    return text;
}

}  // namespace tvx
