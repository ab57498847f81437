#include "tools/tavro-cli/TerminalText.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(TerminalText, EscapesWhatDrivesOrHidesAndKeepsTheRest) {
    const char16_t loneHigh[] = {u'a', 0xD800, u'b', 0};
    const char16_t escapedByte[] = {u'x', 0xDCFF, 0};
    const struct {
        std::u16string text;
        std::string shown;
    } cases[] = {
        {u"\x1B]0;title\x07", "\\x1B]0;title\\x07"},          // C0: a retitling sequence
        {u"\t\r\n", "\\x09\\x0D\\x0A"},                       // tabs and line breaks too (one line, one TSV field)
        {u"\x7F\u0085\u009B", "\\x7F\\x85\\x9B"},               // DEL and C1 (NEL, CSI)
        {escapedByte, "x\\xFF"},                                // an undecodable byte of a file name
        {loneHigh, "a\\u{D800}b"},                              // any other lone surrogate
        {u"\u202Eabc\u2066\u2069", "\\u{202E}abc\\u{2066}\\u{2069}"},  // overrides and isolates
        {u"\u2028\u2029", "\\u{2028}\\u{2029}"},                // line and paragraph separators
        {u"a\u200Bb\u200D\uFEFF", "a\\u{200B}b\\u{200D}\\u{FEFF}"},    // zero-width characters
        {u"\U000E0041", "\\u{E0041}"},                          // a tag, beyond the BMP
        {u"\u65E5\u672C\u8A9E \\x41 \u00E9 \U0001F600", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \\x41 \xC3\xA9 \xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(cli::TerminalText(c.text), c.shown) << c.shown;
}

}  // namespace
}  // namespace tvx
