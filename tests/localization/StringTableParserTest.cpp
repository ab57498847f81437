#include "localization/StringTableParser.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(StringTableParser, TrimsBlanksAroundKeyAndTextButKeepsInnerOnes) {
    const auto entries = ParseStringTable(" \tmenu.file open \t=\t Open  a file \r\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.at("menu.file open"), u"Open  a file");
}

TEST(StringTableParser, SplitsAtTheFirstEqualsSign) {
    EXPECT_EQ(ParseStringTable("a=b=c\n").at("a"), u"b=c");
    EXPECT_EQ(ParseStringTable("a==\n").at("a"), u"=");
}

TEST(StringTableParser, BlankPartsGiveEmptyKeysAndTexts) {
    const auto entries = ParseStringTable(" = text\nkey = \t\r\nother=\n");
    EXPECT_EQ(entries.at(""), u"text");
    EXPECT_EQ(entries.at("key"), u"");
    EXPECT_EQ(entries.at("other"), u"");
}

TEST(StringTableParser, SkipsEmptyLinesCommentsAndLinesWithoutEquals) {
    const auto entries = ParseStringTable("\n# a=comment\nno equals here\n\r\n  \nk=v");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.at("k"), u"v");
}

TEST(StringTableParser, OnlyTheFirstCharacterMakesAComment) {
    const auto entries = ParseStringTable(" # key = text\n");
    EXPECT_EQ(entries.at("# key"), u"text");
}

TEST(StringTableParser, AByteOrderMarkBelongsToTheFirstLine) {
    const auto commented = ParseStringTable("\xEF\xBB\xBF# title=x\nk=v\n");
    EXPECT_EQ(commented.at("?# title"), u"x");
    const auto keyed = ParseStringTable("\xEF\xBB\xBFk=v\n");
    EXPECT_EQ(keyed.count("k"), 0u);
    EXPECT_EQ(keyed.at("?k"), u"v");
}

TEST(StringTableParser, TheFirstOccurrenceOfAKeyWins) {
    EXPECT_EQ(ParseStringTable("k=first\nk=second\n k = third\n").at("k"), u"first");
}

TEST(StringTableParser, NonAsciiKeyCharactersBecomeQuestionMarks) {
    const auto entries = ParseStringTable("m\xC3\xA9nu.\xE3\x81\x82=x\n\xF0\x9F\x98\x80=y\n");
    EXPECT_EQ(entries.at("m?nu.?"), u"x");
    EXPECT_EQ(entries.at("??"), u"y");  // one per UTF-16 unit of the surrogate pair
}

TEST(StringTableParser, TextsAreNotUnescaped) {
    EXPECT_EQ(ParseStringTable("k=a\\tb\\n \"q\"\n").at("k"), u"a\\tb\\n \"q\"");
}

TEST(StringTableParser, DecodesUtf8Texts) {
    EXPECT_EQ(ParseStringTable("k=\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB \xF0\x9F\x98\x80\n").at("k"),
              u"ファイル \U0001F600");
}

TEST(StringTableParser, AnIllFormedLineCostsNoOtherLine) {
    const auto entries = ParseStringTable("a=1\nb=x\xFFy\xC3\nc=3\n");
    EXPECT_EQ(entries.at("a"), u"1");
    EXPECT_EQ(entries.at("b").substr(0, 2), u"x\uFFFD");
    EXPECT_EQ(entries.at("b").back(), u'\uFFFD');
    EXPECT_EQ(entries.at("c"), u"3");
}

TEST(StringTableParser, TheLastLineNeedsNoLineFeed) {
    EXPECT_EQ(ParseStringTable("a=1\r\nb=2").at("b"), u"2");
}

}  // namespace
}  // namespace tvx
