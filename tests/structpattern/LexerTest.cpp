#include "structpattern/CharClass.h"
#include "structpattern/PatternError.h"
#include "structpattern/PatternLexer.h"
#include "tests/structpattern/PatternTestSupport.h"

#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// "kind:text@line:column" per token; "error: ..." on failure.
std::vector<std::string> Lex(std::string_view source) {
    std::u16string error;
    const std::vector<PatternToken> tokens = TokenizePattern(platform::DecodeUtf8(source), error);
    if (tokens.empty()) return {"error: " + Narrow(error)};
    EXPECT_TRUE(error.empty());
    std::vector<std::string> texts;
    for (const PatternToken& token : tokens) {
        static const char* const kKinds[] = {"id", "num", "punct", "end"};
        texts.push_back(std::string(kKinds[static_cast<int>(token.kind)]) + ":" + Narrow(token.text) + "@" +
                        std::to_string(token.line) + ":" + std::to_string(token.column));
    }
    return texts;
}

using Tokens = std::vector<std::string>;

TEST(PatternLexer, EmptyTextsGiveOneEndToken) {
    EXPECT_EQ(Lex(""), Tokens({"end:@1:1"}));
    EXPECT_EQ(Lex("  \t// only a comment"), Tokens({"end:@1:21"}));
    EXPECT_EQ(Lex("/* a */\n"), Tokens({"end:@2:1"}));
}

TEST(PatternLexer, SplitsWithoutBlanks) {
    EXPECT_EQ(Lex("struct S{int a;};"),
              Tokens({"id:struct@1:1", "id:S@1:8", "punct:{@1:9", "id:int@1:10", "id:a@1:14", "punct:;@1:15",
                      "punct:}@1:16", "punct:;@1:17", "end:@1:18"}));
    EXPECT_EQ(Lex("int**p"), Tokens({"id:int@1:1", "punct:*@1:4", "punct:*@1:5", "id:p@1:6", "end:@1:7"}));
    EXPECT_EQ(Lex("@,[]"), Tokens({"punct:@@1:1", "punct:,@1:2", "punct:[@1:3", "punct:]@1:4", "end:@1:5"}));
}

TEST(PatternLexer, NumbersAreDecimalDigitRunsOnly) {
    EXPECT_EQ(Lex("0x10"), Tokens({"num:0@1:1", "id:x10@1:2", "end:@1:5"}));
    EXPECT_EQ(Lex("12ab _9"), Tokens({"num:12@1:1", "id:ab@1:3", "id:_9@1:6", "end:@1:8"}));
    EXPECT_EQ(Lex("99999999999999999999999"), Tokens({"num:99999999999999999999999@1:1", "end:@1:24"}));
}

TEST(PatternLexer, CarriageReturnsDoNotCount) {
    const std::string lf = "struct A {\n\tint x; // c\n};\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(Lex(lf), Lex(crlf));
    EXPECT_EQ(Lex(lf)[3], "id:int@2:2");  // a tab is one column
    EXPECT_EQ(Lex("a\r\r\rb"), Tokens({"id:a@1:1", "id:b@1:2", "end:@1:3"}));
}

TEST(PatternLexer, CommentsMovePositions) {
    EXPECT_EQ(Lex("/*a\nb*/x"), Tokens({"id:x@2:4", "end:@2:5"}));
    EXPECT_EQ(Lex("/* /* */x"), Tokens({"id:x@1:9", "end:@1:10"}));  // no nesting
    EXPECT_EQ(Lex("// c\r\nx"), Tokens({"id:x@2:1", "end:@2:2"}));
    EXPECT_EQ(Lex("a // comment"), Tokens({"id:a@1:1", "end:@1:13"}));
    EXPECT_EQ(Lex("/**/"), Tokens({"end:@1:5"}));
}

TEST(PatternLexer, CharactersOutsideTheBasicPlaneCountTwoColumns) {
    EXPECT_EQ(Lex("/*\xF0\x9F\x98\x80*/x"), Tokens({"id:x@1:7", "end:@1:8"}));
}

TEST(PatternLexer, UnterminatedBlockCommentIsBare) {
    EXPECT_EQ(Lex("int /* open"), Tokens({"error: Unterminated block comment."}));
    EXPECT_EQ(Lex("x /*"), Tokens({"error: Unterminated block comment."}));
    EXPECT_EQ(Lex("/*/"), Tokens({"error: Unterminated block comment."}));
}

TEST(PatternLexer, UnexpectedCharactersPointAtThemselves) {
    const char* kMessage = "Unexpected character in definition file.";
    EXPECT_EQ(Lex("a/b"), Tokens({"error: " + ErrorAt("a/b", 1, 2, kMessage)}));
    EXPECT_EQ(Lex("-1"), Tokens({"error: " + ErrorAt("-1", 1, 1, kMessage)}));
    EXPECT_EQ(Lex("x /"), Tokens({"error: " + ErrorAt("x /", 1, 3, kMessage)}));
    EXPECT_EQ(Lex("struct A {\r\n  int x$;\r\n}"), Tokens({"error: " + ErrorAt("  int x$;", 2, 8, kMessage)}));
    for (const char* source : {"#", "=", "(", "\"", "'", "."})
        EXPECT_EQ(Lex(source), Tokens({"error: " + ErrorAt(source, 1, 1, kMessage)})) << source;
    EXPECT_EQ(Lex(std::string_view("a\0", 2)), Tokens({"error: " + ErrorAt(std::string_view("a\0", 2), 1, 2, kMessage)}));
}

TEST(PatternLexer, NonAsciiLettersFollowOnePortableTable) {
    EXPECT_EQ(Lex("\xC3\xA9t\xC3\xA9 \xE5\xB9\x85 \xCE\xA9"),  // "été 幅 Ω"
              Tokens({"id:\xC3\xA9t\xC3\xA9@1:1", "id:\xE5\xB9\x85@1:5", "id:\xCE\xA9@1:7", "end:@1:8"}));
    EXPECT_EQ(Lex("a\xE3\x80\x80" "b"), Tokens({"id:a@1:1", "id:b@1:3", "end:@1:4"}));  // ideographic space
    EXPECT_EQ(Lex("\xC3\x97")[0].substr(0, 6), "error:");                              // the multiplication sign
    EXPECT_EQ(Lex("\xF0\x9D\x90\x80")[0].substr(0, 6), "error:");  // a letter beyond the Basic Plane
    EXPECT_EQ(Lex("\xD9\xA3")[0].substr(0, 6), "error:");          // an Arabic-Indic digit
}

TEST(CharClass, LowerCaseMappingsArePairs) {
    EXPECT_EQ(ToPatternLower(u'Q'), u'q');
    EXPECT_EQ(ToPatternLower(u'\u00C9'), u'\u00E9');
    EXPECT_EQ(ToPatternLower(u'\u00D7'), u'\u00D7');
    EXPECT_EQ(ToPatternLower(u'\u0391'), u'\u03B1');
    EXPECT_EQ(ToPatternLower(u'\u038F'), u'\u03CE');
    EXPECT_EQ(ToPatternLower(u'\u0401'), u'\u0451');
    EXPECT_EQ(ToPatternLower(u'\u042F'), u'\u044F');
    EXPECT_EQ(ToPatternLower(u'\u5E45'), u'\u5E45');
    // Every letter's lower-case form is a letter that maps to itself.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<char16_t>(c);
        if (!IsPatternLetter(unit)) continue;
        const char16_t lower = ToPatternLower(unit);
        EXPECT_TRUE(IsPatternLetter(lower)) << static_cast<unsigned>(c);
        EXPECT_EQ(ToPatternLower(lower), lower) << static_cast<unsigned>(c);
    }
    EXPECT_FALSE(IsPatternLetter(u'\u0387'));  // Greek ano teleia is punctuation
    EXPECT_TRUE(IsPatternSpace(u'\u00A0'));
    EXPECT_FALSE(IsPatternSpace(u'\uFEFF'));
}

TEST(FormatPatternError, ExcerptsTheLineAndPointsAtTheColumn) {
    const std::u16string source = u"struct A {\r\n\tint x$;\r\n\r\n}";
    EXPECT_EQ(Narrow(FormatPatternError(source, 2, 7, u"M")), "Line 2, Col 7: M\r\n\tint x$;\r\n      ^");
    EXPECT_EQ(Narrow(FormatPatternError(source, 3, 1, u"M")), "Line 3, Col 1: M");  // empty line
    EXPECT_EQ(Narrow(FormatPatternError(source, 9, 1, u"M")), "Line 9, Col 1: M");  // past the end
    EXPECT_EQ(Narrow(FormatPatternError(source, 0, 5, u"M")), "Line 0, Col 5: M");
    EXPECT_EQ(Narrow(FormatPatternError(source, 1, 0, u"M")), "Line 1, Col 0: M\r\nstruct A {\r\n^");
    EXPECT_EQ(Narrow(FormatPatternError(u"last", 1, 5, u"M")), "Line 1, Col 5: M\r\nlast\r\n    ^");
}

}  // namespace
}  // namespace tvx::test
