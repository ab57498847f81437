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

// Scans the text and hands each token to emit (kind, start, end, line, column), the End token
// last; on an error returns false with the message in error.
template <typename Emit>
bool ScanTokens(const std::u16string& text, Emit&& emit, std::u16string& error) {
    std::uint32_t line = 1;
    std::uint32_t column = 1;
    const std::size_t size = text.size();
    std::size_t i = 0;

    // Emits the token text[start, i) that began at column startColumn.
    auto push = [&](PatternTokenKind kind, std::size_t start, std::uint32_t startColumn) {
        emit(kind, start, i, line, startColumn);
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
                    return false;
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
            return false;
        }
    }
    emit(PatternTokenKind::End, size, size, line, column);
    return true;
}

}  // namespace

std::vector<PatternToken> TokenizePattern(const std::u16string& text, std::u16string& error) {
    // Two scans, the first only counting: a list grown token by token would move every token
    // a few times over, and a file holds millions of them.
    std::size_t count = 0;
    if (!ScanTokens(text, [&](PatternTokenKind, std::size_t, std::size_t, std::uint32_t, std::uint32_t) { ++count; },
                    error))
        return {};
    std::vector<PatternToken> tokens;
    tokens.reserve(count);
    std::u16string unused;
    (void)ScanTokens(
        text,
        [&](PatternTokenKind kind, std::size_t start, std::size_t end, std::uint32_t line, std::uint32_t column) {
            tokens.push_back(PatternToken{kind, text.substr(start, end - start), line, column});
        },
        unused);
    return tokens;
}

}  // namespace tvx
