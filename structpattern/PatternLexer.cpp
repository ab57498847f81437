#include "structpattern/PatternLexer.h"

#include "structpattern/CharClass.h"
#include "structpattern/PatternError.h"

namespace tvx {
namespace {

constexpr char16_t kPunctuation[] = u"@{}[];,*";

bool IsPunctuation(char16_t c) noexcept {
    for (const char16_t* p = kPunctuation; *p != 0; ++p)
        if (*p == c) return true;
    return false;
}

}  // namespace

std::vector<PatternToken> TokenizePattern(const std::u16string& text, std::u16string& error) {
    std::vector<PatternToken> tokens;
    // Typical definition files hold a token per five to ten characters; reserving for that
    // spares most of the moves of a growing list.
    tokens.reserve(text.size() / 6 + 1);
    std::uint32_t line = 1;
    std::uint32_t column = 1;
    const std::size_t size = text.size();
    std::size_t i = 0;

    // Appends the token text[start, i) that began at column startColumn.
    auto push = [&](PatternTokenKind kind, std::size_t start, std::uint32_t startColumn) {
        tokens.push_back(PatternToken{kind, text.substr(start, i - start), line, startColumn});
    };

    while (i < size) {
        const char16_t c = text[i];
        const char16_t next = i + 1 < size ? text[i + 1] : u'\0';
        if (c == u'\r') {
            ++i;
        } else if (c == u'\n') {
            ++i;
            ++line;
            column = 1;
        } else if (IsPatternSpace(c)) {
            ++i;
            ++column;
        } else if (c == u'/' && next == u'/') {
            // Up to the line feed, which the loop then counts as usual.
            while (i < size && text[i] != u'\n') {
                ++i;
                ++column;
            }
        } else if (c == u'/' && next == u'*') {
            i += 2;
            column += 2;
            for (;;) {
                if (i >= size) {
                    error = u"Unterminated block comment.";
                    return {};
                }
                if (text[i] == u'*' && i + 1 < size && text[i + 1] == u'/') {
                    i += 2;
                    column += 2;
                    break;
                }
                if (text[i] == u'\n') {
                    ++line;
                    column = 1;
                } else {
                    ++column;
                }
                ++i;
            }
        } else if (c == u'_' || IsPatternLetter(c)) {
            const std::size_t start = i;
            const std::uint32_t startColumn = column;
            while (i < size && (text[i] == u'_' || IsPatternLetterOrDigit(text[i]))) {
                ++i;
                ++column;
            }
            push(PatternTokenKind::Identifier, start, startColumn);
        } else if (IsPatternDigit(c)) {
            const std::size_t start = i;
            const std::uint32_t startColumn = column;
            while (i < size && IsPatternDigit(text[i])) {
                ++i;
                ++column;
            }
            push(PatternTokenKind::Number, start, startColumn);
        } else if (IsPunctuation(c)) {
            ++i;
            push(PatternTokenKind::Punctuation, i - 1, column);
            ++column;
        } else {
            error = FormatPatternError(text, line, column, u"Unexpected character in definition file.");
            return {};
        }
    }
    tokens.push_back(PatternToken{PatternTokenKind::End, {}, line, column});
    return tokens;
}

}  // namespace tvx
