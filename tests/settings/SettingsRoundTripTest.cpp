// Whatever the record holds, writing it and reading it back gives the same record.

#include "settings/SettingsFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tvx {
namespace {

// Characters that stress the escaping and the scanner: JSON syntax, every control
// character (NUL included), non-ASCII and supplementary characters as surrogate pairs.
std::u16string RandomText(std::mt19937& random) {
    static const std::u16string kPieces[] = {
        u"\"", u"\\", u"[", u"]", u"{", u"}", u":", u",", u"/", u" ", u"\\u0041", u"true",
        u"\"recentFiles\"", u"C:\\Program Files\\", u"é", u"日本語", u"\u00A0", u"\U0001F600", u"\U00010348",
        u"\x7F", u"\uFEFF", u"a", u"Z", u"0",
    };
    std::u16string text;
    const int length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i) {
        if (std::uniform_int_distribution<int>(0, 3)(random) == 0) {
            text += static_cast<char16_t>(std::uniform_int_distribution<int>(0, 31)(random));
        } else {
            text += kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(random)];
        }
    }
    return text;
}

template <typename Enum>
Enum RandomEnum(std::mt19937& random, int count) {
    return static_cast<Enum>(std::uniform_int_distribution<int>(0, count - 1)(random));
}

AppSettings RandomRecord(std::mt19937& random) {
    auto coin = [&] { return std::uniform_int_distribution<int>(0, 1)(random) == 1; };
    AppSettings s;
    s.dataInspectorVisible = coin();
    s.structViewVisible = coin();
    s.byteArrayFormat = RandomEnum<ByteArrayFormat>(random, 2);
    s.byteOrder = RandomEnum<ByteOrder>(random, 2);
    s.numericBase = RandomEnum<NumericBase>(random, 2);
    s.encoding = RandomEnum<TextEncoding>(random, 4);
    s.theme = RandomEnum<Theme>(random, 3);
    s.language = RandomEnum<Language>(random, 3);
    // The reader skips empty texts for these, so they keep the record's value: give them one.
    s.appVersion = u"v" + RandomText(random);
    s.fontFamily = u"F" + RandomText(random);
    // Sizes with at most six significant digits survive the stream formatting exactly.
    s.fontSize = static_cast<float>(std::uniform_int_distribution<int>(1, 4000)(random)) / 4.0f;
    s.bold = coin();
    s.italic = coin();
    const int files = std::uniform_int_distribution<int>(0, 16)(random);
    for (int i = 0; i < files; ++i) s.recentFiles.push_back(RandomText(random));
    const int queries = std::uniform_int_distribution<int>(0, 16)(random);
    for (int i = 0; i < queries; ++i) s.searchHistory.push_back({coin() ? u"text" : u"hex", RandomText(random)});
    return s;
}

TEST(SettingsRoundTrip, RandomRecordsSurviveWriteAndRead) {
    test::TempDir dir;
    const auto path = dir.File("tavro.settings.json");
    std::mt19937 random(20261206);
    for (int round = 0; round < 300; ++round) {
        const AppSettings written = RandomRecord(random);
        ASSERT_TRUE(WriteSettingsFile(written, path));
        AppSettings read;
        read.appVersion = u"unchanged";
        ASSERT_TRUE(ReadSettingsFile(read, path));
        ASSERT_EQ(read, written) << "round " << round;
    }
}

}  // namespace
}  // namespace tvx
