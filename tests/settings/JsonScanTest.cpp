#include "settings/JsonScan.h"

#include <gtest/gtest.h>

#include <string>

namespace tvx {
namespace {

TEST(EscapeJsonString, UsesShortEscapesThenFourDigitOnes) {
    EXPECT_EQ(EscapeJsonString("a\bb\tc\nd\fe\rf"), "a\\bb\\tc\\nd\\fe\\rf");
    EXPECT_EQ(EscapeJsonString("\"C:\\x\""), "\\\"C:\\\\x\\\"");
    EXPECT_EQ(EscapeJsonString(std::string("\x00\x01\x1F", 3)), "\\u0000\\u0001\\u001F");
    EXPECT_EQ(EscapeJsonString("a/b\x7F\xE3\x81\x82"), "a/b\x7F\xE3\x81\x82");
}

TEST(ReadStringValue, UnescapesWhatTheWriterEscapes) {
    std::string value = "\"\\ /\b\f\n\r\t\x01\x1F";
    value += '\0';
    value += 'x';
    const std::string text = "{\"k\": \"" + EscapeJsonString(value) + "\"}";
    EXPECT_EQ(ReadStringValue(text, "k", 0), value);
}

TEST(ReadStringValue, DecodesUnicodeEscapesIncludingSurrogatePairs) {
    EXPECT_EQ(ReadStringValue(R"({"k": "\u00e9\u3042\uD83D\uDE00"})", "k", 0), "\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80");
    EXPECT_EQ(ReadStringValue(R"({"k": "\uD83Dx"})", "k", 0), "\xEF\xBF\xBDx");  // lone surrogate
    EXPECT_EQ(ReadStringValue(R"({"k": "\u12G4"})", "k", 0), "u12G4");            // not an escape
    EXPECT_EQ(ReadStringValue(R"({"k": "\u12"})", "k", 0), "u12");
}

TEST(ReadStringValue, TakesOtherEscapedBytesLiterally) {
    EXPECT_EQ(ReadStringValue(R"({"k": "\q\/\\\""})", "k", 0), "q/\\\"");
}

TEST(ReadStringValue, FailsWhenAnyPartIsMissing) {
    EXPECT_FALSE(ReadStringValue(R"({"other": "x"})", "k", 0));
    EXPECT_FALSE(ReadStringValue(R"({"k")", "k", 0));
    EXPECT_FALSE(ReadStringValue(R"({"k": )", "k", 0));
    EXPECT_FALSE(ReadStringValue(R"({"k": "abc)", "k", 0));
    EXPECT_FALSE(ReadStringValue(R"({"k": "abc\")", "k", 0));
}

TEST(ReadStringValue, AValueOfAnotherTypeFailsInsteadOfBorrowingTheNextString) {
    EXPECT_FALSE(ReadStringValue(R"({"family": 12, "size": "x"})", "family", 0));
    EXPECT_FALSE(ReadStringValue(R"({"theme": ["Light"]})", "theme", 0));
}

TEST(ReadStringValue, PassesOverTheKeyTextWhenItIsAValue) {
    EXPECT_EQ(ReadStringValue(R"({"a": "theme", "theme" : "Black"})", "theme", 0), "Black");
}

TEST(ReadStringValue, StartsAtTheGivenPosition) {
    const std::string text = R"({"v": "1", "o": {"v": "2"}})";
    EXPECT_EQ(ReadStringValue(text, "v", 0), "1");
    EXPECT_EQ(ReadStringValue(text, "v", text.find("\"o\"")), "2");
}

TEST(ReadBoolValue, ReadsTheLiteralsAfterWhiteSpace) {
    EXPECT_EQ(ReadBoolValue("{\"b\":\r\n\t true}", "b", 0), true);
    EXPECT_EQ(ReadBoolValue("{\"b\": false}", "b", 0), false);
    EXPECT_FALSE(ReadBoolValue("{\"b\": \"true\"}", "b", 0));
    EXPECT_FALSE(ReadBoolValue("{\"b\": TRUE}", "b", 0));
    EXPECT_FALSE(ReadBoolValue("{\"b\": fals", "b", 0));
    EXPECT_FALSE(ReadBoolValue("{\"b\":", "b", 0));
}

TEST(ReadFloatValue, ReadsPlainDecimalNumbers) {
    EXPECT_EQ(ReadFloatValue(R"({"size": 10.5})", "size", 0), 10.5f);
    EXPECT_EQ(ReadFloatValue(R"({"size":12,})", "size", 0), 12.0f);
    EXPECT_EQ(ReadFloatValue(R"({"size": +9})", "size", 0), 9.0f);
    EXPECT_EQ(ReadFloatValue(R"({"size": .5})", "size", 0), 0.5f);
    EXPECT_EQ(ReadFloatValue(R"({"size": -3})", "size", 0), -3.0f);
    EXPECT_EQ(ReadFloatValue(R"({"size": 1.5.2})", "size", 0), 1.5f);  // the longest number prefix
}

TEST(ReadFloatValue, FailsForNoNumberOrOneOutOfRange) {
    EXPECT_FALSE(ReadFloatValue(R"({"size": "12"})", "size", 0));
    EXPECT_FALSE(ReadFloatValue(R"({"size": -})", "size", 0));
    EXPECT_FALSE(ReadFloatValue(R"({"size": ++5})", "size", 0));
    EXPECT_FALSE(ReadFloatValue(R"({"size": )", "size", 0));
    EXPECT_FALSE(ReadFloatValue("{\"size\": 1" + std::string(60, '0') + "}", "size", 0));
}

TEST(ReadFloatValue, StopsBeforeAnExponent) {
    EXPECT_EQ(ReadFloatValue(R"({"size": 1e3})", "size", 0), 1.0f);
}

TEST(FindObjectStart, FindsTheBraceWhenItsObjectIsClosed) {
    const std::string text = R"({"a": {"s": "}{", "b": {}}, "c": {)";
    EXPECT_EQ(FindObjectStart(text, "a", 0), text.find('{', 1));
    EXPECT_EQ(FindObjectStart(text, "b", 0), text.find("{}"));
    EXPECT_FALSE(FindObjectStart(text, "c", 0));
    EXPECT_FALSE(FindObjectStart(R"({"a": 1})", "a", 0));
    EXPECT_FALSE(FindObjectStart(R"({"a": {"s": "unterminated})", "a", 0));
}

TEST(ReadStringArray, KeepsBracketsAndQuotesInsideStrings) {
    const std::string text = R"({"r": ["C:\\[x]\\a.bin", "b \"q\" ]", "", "d"]})";
    EXPECT_EQ(ReadStringArray(text, "r", 16), (std::vector<std::u16string>{u"C:\\[x]\\a.bin", u"b \"q\" ]", u"", u"d"}));
}

TEST(ReadStringArray, SkipsWhatIsNotAString) {
    EXPECT_EQ(ReadStringArray(R"({"r": [1, "a", null, "b"]})", "r", 16), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(ReadStringArray, IsEmptyWithoutAClosedArray) {
    EXPECT_TRUE(ReadStringArray(R"({"r": ["a", "b")", "r", 16).empty());
    EXPECT_TRUE(ReadStringArray(R"({"r": ["a", "b\"]})", "r", 16).empty());
    EXPECT_TRUE(ReadStringArray(R"({"r": "a"})", "r", 16).empty());
    EXPECT_TRUE(ReadStringArray(R"({"x": ["a"]})", "r", 16).empty());
}

TEST(ReadSearchHistory, SkipsObjectsWithoutBothStrings) {
    const std::string text = R"({"searchHistory": [{"kind": "text", "query": "a"}, {"kind": "hex"},
        {"query": "b", "kind": "hex"}, {"kind": "text", "query": 5}, 7, {"kind": "text", "query": "{[c]}"}]})";
    EXPECT_EQ(ReadSearchHistory(text, 16), (std::vector<SearchHistoryEntry>{
                                           {u"text", u"a"}, {u"hex", u"b"}, {u"text", u"{[c]}"}}));
}

TEST(ReadSearchHistory, StopsAtAnObjectThatIsNotClosedInsideTheArray) {
    const std::string text = R"({"searchHistory": [{"kind": "text", "query": "a"}, {"kind": "hex", "query": "b"]}})";
    EXPECT_EQ(ReadSearchHistory(text, 16), (std::vector<SearchHistoryEntry>{{u"text", u"a"}}));
}

TEST(ReadSearchHistory, NeedsAnArray) {
    EXPECT_TRUE(ReadSearchHistory(R"({"searchHistory": {"kind": "text", "query": "a"}})", 16).empty());
    EXPECT_TRUE(ReadSearchHistory(R"({"searchHistory": [{"kind": "text", "query": "a"})", 16).empty());
}

TEST(ReadLists, StopAtTheirLimit) {
    std::string files = R"({"r": [)";
    std::string history = R"({"searchHistory": [)";
    for (int i = 0; i < 40; ++i) {
        files += "\"" + std::to_string(i) + "\", ";
        history += R"({"kind": "text", "query": ")" + std::to_string(i) + "\"}, ";
    }
    files += "\"end\"]}";
    history += "{}]}";
    const auto list = ReadStringArray(files, "r", 16);
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list.back(), u"15");
    const auto entries = ReadSearchHistory(history, 16);
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries.back().query, u"15");
}

}  // namespace
}  // namespace tvx
