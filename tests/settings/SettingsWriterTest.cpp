#include "settings/SettingsFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <locale>
#include <string>

namespace tvx {
namespace {

std::string DefaultText() {
    return "{\r\n"
           "  \"appVersion\": \"\",\r\n"
           "  \"encoding\": \"Ascii\",\r\n"
           "  \"theme\": \"DarkBlue\",\r\n"
           "  \"language\": \"System\",\r\n"
           "  \"font\": {\r\n"
           "    \"family\": \"Consolas\",\r\n"
           "    \"size\": 12,\r\n"
           "    \"bold\": false,\r\n"
           "    \"italic\": false\r\n"
           "  },\r\n"
           "  \"analysis\": {\r\n"
           "    \"dataInspector\": {\r\n"
           "      \"visible\": true\r\n"
           "    },\r\n"
           "    \"structView\": {\r\n"
           "      \"visible\": false,\r\n"
           "      \"byteArrayFormat\": \"hex\",\r\n"
           "      \"endian\": \"little\",\r\n"
           "      \"numericBase\": \"hex\"\r\n"
           "    }\r\n"
           "  },\r\n"
           "  \"recentFiles\": [],\r\n"
           "  \"searchHistory\": []\r\n"
           "}\r\n";
}

TEST(SettingsWriter, DefaultRecordIsTheFixedLayoutByteForByte) {
    EXPECT_EQ(SerializeSettings(AppSettings{}), DefaultText());
}

TEST(SettingsWriter, EveryFieldLandsOnItsLine) {
    AppSettings s;
    s.appVersion = u"v1.02";
    s.encoding = TextEncoding::Utf16Be;
    s.theme = Theme::Black;
    s.language = Language::Japanese;
    s.fontFamily = u"MS ゴシック";
    s.fontSize = 10.5f;
    s.bold = true;
    s.italic = true;
    s.dataInspectorVisible = false;
    s.structViewVisible = true;
    s.byteArrayFormat = ByteArrayFormat::Ascii;
    s.byteOrder = ByteOrder::Big;
    s.numericBase = NumericBase::Dec;
    s.recentFiles = {u"C:\\a.bin", u"D:\\b c\\d.dat"};
    s.searchHistory = {{u"text", u"MZ"}, {u"hex", u"4D 5A"}};
    const std::string expected =
        "{\r\n"
        "  \"appVersion\": \"v1.02\",\r\n"
        "  \"encoding\": \"Utf16Be\",\r\n"
        "  \"theme\": \"Black\",\r\n"
        "  \"language\": \"Japanese\",\r\n"
        "  \"font\": {\r\n"
        "    \"family\": \"MS \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF\",\r\n"
        "    \"size\": 10.5,\r\n"
        "    \"bold\": true,\r\n"
        "    \"italic\": true\r\n"
        "  },\r\n"
        "  \"analysis\": {\r\n"
        "    \"dataInspector\": {\r\n"
        "      \"visible\": false\r\n"
        "    },\r\n"
        "    \"structView\": {\r\n"
        "      \"visible\": true,\r\n"
        "      \"byteArrayFormat\": \"ascii\",\r\n"
        "      \"endian\": \"big\",\r\n"
        "      \"numericBase\": \"dec\"\r\n"
        "    }\r\n"
        "  },\r\n"
        "  \"recentFiles\": [\"C:\\\\a.bin\", \"D:\\\\b c\\\\d.dat\"],\r\n"
        "  \"searchHistory\": [{\"kind\": \"text\", \"query\": \"MZ\"}, {\"kind\": \"hex\", \"query\": \"4D 5A\"}]\r\n"
        "}\r\n";
    EXPECT_EQ(SerializeSettings(s), expected);
}

TEST(SettingsWriter, NumbersOutsideAnEnumerationAreWrittenAsItsFallback) {
    AppSettings s;
    s.encoding = static_cast<TextEncoding>(7);
    s.theme = static_cast<Theme>(-1);
    s.language = static_cast<Language>(3);
    s.byteArrayFormat = static_cast<ByteArrayFormat>(2);
    s.byteOrder = static_cast<ByteOrder>(5);
    s.numericBase = static_cast<NumericBase>(9);
    const std::string text = SerializeSettings(s);
    EXPECT_NE(text.find("\"encoding\": \"Ascii\","), std::string::npos);
    EXPECT_NE(text.find("\"theme\": \"DarkBlue\","), std::string::npos);
    EXPECT_NE(text.find("\"language\": \"System\","), std::string::npos);
    EXPECT_NE(text.find("\"byteArrayFormat\": \"hex\","), std::string::npos);
    EXPECT_NE(text.find("\"endian\": \"little\","), std::string::npos);
    EXPECT_NE(text.find("\"numericBase\": \"hex\"\r\n"), std::string::npos);
}

// A locale that writes "10,5": the writer must not follow it.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    std::string do_grouping() const override { return "\3"; }
    char do_thousands_sep() const override { return '.'; }
};

TEST(SettingsWriter, FontSizeIgnoresTheGlobalLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    AppSettings s;
    s.fontSize = 10.5f;
    const std::string half = SerializeSettings(s);
    s.fontSize = 1234.0f;
    const std::string large = SerializeSettings(s);
    std::locale::global(previous);
    EXPECT_NE(half.find("\"size\": 10.5,"), std::string::npos);
    EXPECT_NE(large.find("\"size\": 1234,"), std::string::npos);
}

// Without an exponent, which the reader does not take.
TEST(SettingsWriter, FontSizeUsesSixSignificantDigits) {
    AppSettings s;
    s.fontSize = 8.333333f;
    EXPECT_NE(SerializeSettings(s).find("\"size\": 8.33333,"), std::string::npos);
    s.fontSize = 12345678.0f;
    EXPECT_NE(SerializeSettings(s).find("\"size\": 12345700,"), std::string::npos);
    s.fontSize = 0.0000123456789f;
    EXPECT_NE(SerializeSettings(s).find("\"size\": 0.0000123457,"), std::string::npos);
}

TEST(SettingsWriter, WritesTheTextToTheFile) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    ASSERT_TRUE(WriteSettingsFile(AppSettings{}, path));
    const test::Bytes bytes = test::ReadFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), DefaultText());
    EXPECT_EQ(dir.List(), std::vector<std::string>{"tavro.settings.json"});
}

TEST(SettingsWriter, ReplacesALongerFileCompletely) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    test::WriteFileBytes(path, test::Bytes(5000, 'x'));
    ASSERT_TRUE(WriteSettingsFile(AppSettings{}, path));
    const test::Bytes bytes = test::ReadFileBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), DefaultText());
}

}  // namespace
}  // namespace tvx
