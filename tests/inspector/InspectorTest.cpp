// The Data Inspector: character decoding and description, the rows, labels, layout and colours.
#include "inspector/CharacterText.h"
#include "inspector/InspectorLabels.h"
#include "inspector/InspectorLayout.h"
#include "inspector/InspectorRows.h"
#include "inspector/IntegerText.h"
#include "inspector/SideWindowPalette.h"
#include "platform/AppLocation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstdio>
#include <cstring>
#include <random>
#include <optional>
#include <vector>

namespace tvx {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Text = std::optional<std::u16string>;

constexpr char16_t kUnavailable[] = u"n/a";

std::u16string Text16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

TEST(DecodeUtf8Character, TheFirstWellFormedCharacterOrNothing) {
    const struct {
        Bytes bytes;
        Text text;
    } cases[] = {
        {{0x41, 0xFF, 0xFF}, u"A"},  // only the first character is read
        {{0xC3, 0xA9, 0x80}, u"é"},
        {{0xE3, 0x81, 0x82}, u"あ"},
        {{0xF0, 0x9F, 0x98, 0x80}, u"\U0001F600"},
        {{0xF4, 0x8F, 0xBF, 0xBF}, u"\U0010FFFF"},
        {{}, std::nullopt},
        {{0x00, 0x41}, std::nullopt},
        {{0xF0, 0x9F, 0x98}, std::nullopt},              // cut short
        {{0xC3, 0x00}, std::nullopt},                    // a zero byte inside
        {{0xE3, 0x81, 0xC3}, std::nullopt},              // a lead byte inside
        {{0x80, 0x80}, std::nullopt},                    // a continuation byte first
        {{0xF8, 0x88, 0x80, 0x80, 0x80}, std::nullopt},  // five-byte form
        // Overlong in each length, an encoded surrogate, above U+10FFFF.
        {{0xC1, 0xBF}, std::nullopt}, {{0xE0, 0x80, 0x80}, std::nullopt}, {{0xF0, 0x80, 0x80, 0x80}, std::nullopt},
        {{0xED, 0xA0, 0x80}, std::nullopt}, {{0xF4, 0x90, 0x80, 0x80}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeUtf8Character(c.bytes), c.text) << testing::PrintToString(c.bytes);
}

// The plausibility test sees the first 32 bytes; the samples carry a space to pass it on every
// platform, so that the decoder's own rules show.
TEST(DecodeUtf16Character, TheFirstUnitOrPairOfPlausibleText) {
    const struct {
        Bytes bytes;
        bool littleEndian;
        Text text;
    } cases[] = {
        {{0x41, 0, 0x42, 0, 0x43, 0, 0x44, 0}, true, u"A"}, {{0, 0x41, 0, 0x42, 0, 0x43, 0, 0x44}, false, u"A"},
        {{0x00, 0xD7, 0x20, 0x00, 0x41, 0x00}, true, u"\xD700"},
        {{0, 0x41, 0, 0x42, 0}, false, u"A"},  // an odd last byte stays out
        {{0x3D, 0xD8, 0x00, 0xDE, 0x20, 0x00, 0x41, 0x00}, true, u"\U0001F600"},
        {{0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x20, 0x00, 0x41}, false, u"\U0001F600"},
        {{0x3D, 0xD8, 0x20, 0x00, 0x41, 0x00}, true, std::nullopt},  // a high surrogate alone
        {{0xDC, 0x00, 0x00, 0x20, 0x00, 0x41}, false, std::nullopt},  // a low surrogate first
        {{0x41}, true, std::nullopt},
        {{0x3D, 0xD8, 0x00}, true, std::nullopt},  // no room for the low surrogate
        {{0x00, 0x00, 0x20, 0x00, 0x41, 0x00}, true, std::nullopt},
        {{0x41, 0x42, 0x43, 0x44}, true, std::nullopt}, {{0x41, 0x42, 0x43, 0x44}, false, std::nullopt},  // implausible
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUtf16Character(c.bytes, c.littleEndian), c.text) << testing::PrintToString(c.bytes);

    Bytes bytes;
    for (int i = 0; i < 16; ++i) bytes.insert(bytes.end(), {0x41, 0x42});
    Bytes withSpace = bytes;
    withSpace[28] = 0x20;  // U+0020 as the 15th unit
    withSpace[29] = 0x00;
    EXPECT_EQ(DecodeUtf16Character(withSpace, true), u"\x4241");
    bytes.insert(bytes.end(), {0x20, 0x00});  // a space past the first 32 bytes does not count
    EXPECT_EQ(DecodeUtf16Character(bytes, true), std::nullopt);
}

TEST(DescribeCharacter, NameOrCharacterAndCodePoint) {
    const struct {
        std::u16string text, description;
    } cases[] = {
        {u"\r", u"CR (U+000D)"},       {u"\t", u"TAB (U+0009)"},    {u"\n", u"LF (U+000A)"},
        {u"\v", u"VT (U+000B)"},       {u"\f", u"FF (U+000C)"},     {u" ", u"Space (U+0020)"},
        {u"\x85", u"NEL (U+0085)"},    {u"\xA0", u"NBSP (U+00A0)"}, {u"\x3000", u"Ideographic Space (U+3000)"},
        {u"é", u"é (U+00E9)"},          {u"\xFFFF", u"\xFFFF (U+FFFF)"}, {u"\U0010FFFF", u"\U0010FFFF (U+10FFFF)"},
        {std::u16string(1, u'\0'), std::u16string(1, u'\0') + u" (U+0000)"},  // unnamed controls stay raw
        {u"\x1B", u"\x1B (U+001B)"},
        // Empty text and lone surrogates stay as they are.
        {u"", u""}, {u"\xDC00", u"\xDC00"}, {u"\xD83D", u"\xD83D"}, {u"\xD83D" u"A", u"\xD83D" u"A"},
    };
    for (const auto& c : cases) EXPECT_EQ(DescribeCharacter(c.text), c.description);
}

// The model of the integer texts: "0x", capital hex zero-padded to digits, " / " and decimal.
std::u16string HexAndDecimal(std::uint64_t value, int digits) {
    char text[48];
    const auto v = static_cast<unsigned long long>(value);
    const int n = std::snprintf(text, sizeof text, "0x%0*llX / %llu", digits, v, v);
    return std::u16string(text, text + n);
}

// Over random bytes of every length up to nine, each integer row holds the value of its width
// in its byte order (memcpy, reversed for big-endian), exactly when its bytes are all there.
TEST(InspectorRows, IntegerRowsAgreeWithMemcpyOverRandomBytes) {
    // The rows of one, two, four and eight bytes in each byte order.
    const std::pair<bool, std::array<InspectorRow, 4>> kOrders[] = {
        {false, {InspectorRow::UInt8, InspectorRow::UInt16Le, InspectorRow::UInt32Le, InspectorRow::UInt64Le}},
        {true, {InspectorRow::UInt8, InspectorRow::UInt16Be, InspectorRow::UInt32Be, InspectorRow::UInt64Be}}};
    static_assert(std::endian::native == std::endian::little);
    for (const std::u16string& value : ComputeInspectorRows({}, u"--")) EXPECT_EQ(value, u"--");
    std::mt19937_64 random(5);
    for (int round = 0; round < 1000; ++round) {
        Bytes bytes(1 + round % 9);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
        const InspectorValues values = ComputeInspectorRows(bytes, kUnavailable);
        const auto at = [&](InspectorRow row) { return values[static_cast<std::size_t>(row)]; };
        EXPECT_EQ(at(InspectorRow::Binary), u"0b" + Text16(std::bitset<8>(bytes[0]).to_string().insert(4, "_")));
        for (const auto& [big, rows] : kOrders) {
            for (std::size_t k = 0; k < rows.size(); ++k) {
                const std::size_t width = std::size_t{1} << k, n = std::min(width, bytes.size());
                Bytes field(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
                if (big) std::reverse(field.begin(), field.end());
                std::uint64_t value = 0;
                std::memcpy(&value, field.data(), n);
                const std::u16string text = n == width ? HexAndDecimal(value, static_cast<int>(2 * n)) : kUnavailable;
                EXPECT_EQ(at(rows[k]), text) << width << (big ? " big" : " little") << ", " << bytes.size() << " bytes";
            }
        }
        // Values wider than their digits are never cut.
        const std::uint64_t any = random() >> (random() % 64);
        const int digits = static_cast<int>(random() % 17);
        const std::u16string expected = HexAndDecimal(any, digits);
        EXPECT_EQ(FormatHexAndDecimal(any, digits), expected);
        EXPECT_EQ(FormatPrefixedHex(any, digits), expected.substr(0, expected.find(u' ')));
    }
}

TEST(InspectorRows, CharacterRows) {
    const auto rows = [](Bytes bytes) {
        const InspectorValues values = ComputeInspectorRows(bytes, kUnavailable);
        return std::vector<std::u16string>(values.begin() + static_cast<int>(InspectorRow::Utf8), values.end());
    };
    const std::u16string a = u"A (U+0041)", none = kUnavailable;
    // Read big-endian, "A\0B\0C\0D\0" is U+4100..., which is no plausible text.
    EXPECT_EQ(rows({0x41, 0, 0x42, 0, 0x43, 0, 0x44, 0}), (std::vector{a, a, none}));
    EXPECT_EQ(rows({0, 0x41, 0, 0x20, 0, 0x42}), (std::vector{none, none, a}));  // a zero byte is no character
    EXPECT_EQ(ComputeInspectorRows(Bytes{0xC3, 0x28}, kUnavailable)[static_cast<int>(InspectorRow::UInt16Be)],
              u"0xC328 / 49960");  // an undecodable character leaves the other rows alone
}

// A key missing from a table shows as the key itself: every label must be found, and the rows
// must differ from each other, in both languages.
TEST(InspectorLabels, EveryKeyIsInBothTables) {
    for (const Language language : {Language::English, Language::Japanese}) {
        StringTable strings(platform::ExecutableDirectory(), [] { return std::u16string(); });
        strings.SetLanguage(language);
        const InspectorLabels labels = LoadInspectorLabels(strings);
        std::vector<std::u16string> texts(labels.rows.begin(), labels.rows.end());
        texts.insert(texts.end(),
                     {labels.title, labels.nameHeading, labels.valueHeading, InspectorUnavailableText(strings)});
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_FALSE(texts[i].empty() || texts[i].starts_with(u"inspector.")) << i;
            for (std::size_t j = 0; j < std::min<std::size_t>(i, kInspectorRowCount); ++j)
                EXPECT_NE(texts[i], texts[j]);
        }
    }
}

TEST(InspectorLayout, ColumnsRowsAndWidths) {
    for (const auto& [width, column] : {std::pair{300.0f, 96.0f}, {480, 120}, {483.9f, 120}, {600, 132}, {0, 96}})
        EXPECT_EQ(InspectorNameColumnWidth(width), column) << width;
    for (const auto& [dpi, dips] : {std::pair{0u, 300.0f}, {96, 300}, {144, 200}, {192, 150}})
        EXPECT_FLOAT_EQ(PixelsToDips(300, dpi), dips) << dpi;
    for (const auto& [width, kept] : {std::pair{300, 420}, {420, 420}, {421, 421}})
        EXPECT_EQ(InspectorWidthAfterResize(width), kept);
}

TEST(InspectorLayout, ClicksInTheValueColumnSelectTheirRow) {
    const struct {
        float x, y;
        std::size_t values;
        int row;
    } cases[] = {
        {120, 38, 11, 0}, {300, 38 + 36 - 0.01f, 11, 0}, {300, 38 + 36, 11, 1}, {479.5f, 399, 11, 10},
        {119.9f, 100, 11, -1},        // name column
        {300, 37.9f, 11, -1},         // header
        {300, 38 + 36 * 11, 11, -1},  // below the last row
        {480, 100, 11, -1},           // right of the client area
        {300, 38 + 36 * 3, 3, -1},    // fewer values than rows
        {300, 50, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(InspectorRowAt(c.x, c.y, 480, c.values), c.row) << c.x << ", " << c.y;
    for (const auto& [selected, values, kept] :
         {std::tuple{10, 11u, 10}, {10, 4, 3}, {11, 11, 10}, {2, 0, -1}, {-1, 11, -1}})
        EXPECT_EQ(ClampInspectorSelection(selected, values), kept);
}

// Every theme has five distinct colours with text far from the background; unknown themes are Light.
TEST(SideWindowPalette, ReadableColoursPerTheme) {
    const auto brightness = [](Rgb c) { return c.r * 299 + c.g * 587 + c.b * 114; };
    const SideWindowPalette light = SideWindowPaletteFor(Theme::Light);
    std::vector<int> backgrounds;
    for (const Theme theme : {Theme::Light, Theme::DarkBlue, Theme::Black}) {
        const SideWindowPalette p = SideWindowPaletteFor(theme);
        EXPECT_GT(std::abs(brightness(p.text) - brightness(p.background)), 128000) << static_cast<int>(theme);
        const Rgb colours[] = {p.background, p.header, p.grid, p.text, p.selection};
        for (std::size_t i = 0; i < 5; ++i)
            for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(colours[i] == colours[j]) << static_cast<int>(theme);
        backgrounds.push_back(brightness(p.background));
    }
    EXPECT_GT(backgrounds[0], backgrounds[1]);
    for (const int value : {-1, 3, 100}) {
        const SideWindowPalette palette = SideWindowPaletteFor(static_cast<Theme>(value));
        EXPECT_EQ(palette.background, light.background) << value;
        EXPECT_EQ(palette.selection, light.selection) << value;
    }
}

}  // namespace
}  // namespace tvx
