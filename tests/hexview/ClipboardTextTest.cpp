// Pasted and typed text as bytes.
#include "hexview/ClipboardText.h"
#include "hexview/TypedText.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ClipboardText, PasteTakesHexTextAsBytesAndOtherTextEncoded) {
    struct Case {
        std::u16string text;
        TextEncoding encoding;
        Bytes bytes;
        PasteError error;
    };
    const Case cases[] = {
        {u"00 0A FF", TextEncoding::Ascii, {0x00, 0x0A, 0xFF}, PasteError::None},
        {u"000aff", TextEncoding::Utf8, {0x00, 0x0A, 0xFF}, PasteError::None},
        {u"0x4D 0x5a\r\n90\t00\n", TextEncoding::Ascii, {0x4D, 0x5A, 0x90, 0x00}, PasteError::None},
        {u"0x4D5A", TextEncoding::Ascii, {0x4D, 0x5A}, PasteError::None},
        {u"ABC", TextEncoding::Ascii, {'A', 'B', 'C'}, PasteError::None},      // odd digit count: text
        {u"0x", TextEncoding::Ascii, {'0', 'x'}, PasteError::None},
        {u"Hi 41", TextEncoding::Utf16Le, {'H', 0, 'i', 0, ' ', 0, '4', 0, '1', 0}, PasteError::None},
        {u"Hi", TextEncoding::Utf16Be, {0, 'H', 0, 'i'}, PasteError::None},
        {u"  \n", TextEncoding::Ascii, {' ', ' ', '\n'}, PasteError::None},
        {u"é\U0001F600", TextEncoding::Utf8, {0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80}, PasteError::None},
        {u"é", TextEncoding::Ascii, {}, PasteError::NotEncodable},
        {std::u16string(1, char16_t{0xD800}), TextEncoding::Utf8, {}, PasteError::NotEncodable},
        {u"", TextEncoding::Utf8, {}, PasteError::Empty},
    };
    for (const Case& c : cases) {
        const PasteBytes result = BytesToPaste(c.text, c.encoding);
        EXPECT_EQ(result.bytes, c.bytes) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(result.error, c.error) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(ClipboardText, TypedCharactersBecomeBytesOfTheEncoding) {
    struct Case {
        std::u16string units;
        TextEncoding encoding;
        std::optional<Bytes> last;  // what the last unit gives
    };
    const Case cases[] = {
        {u"A", TextEncoding::Ascii, Bytes{'A'}},
        {u"~", TextEncoding::Ascii, Bytes{'~'}},
        {u"é", TextEncoding::Ascii, std::nullopt},
        {u"\t", TextEncoding::Utf8, std::nullopt},
        {u"\x7f", TextEncoding::Utf16Le, std::nullopt},
        {u"あ", TextEncoding::Utf8, Bytes{0xE3, 0x81, 0x82}},
        {u"あ", TextEncoding::Utf16Be, Bytes{0x30, 0x42}},
        {u"\U0001F600", TextEncoding::Utf8, Bytes{0xF0, 0x9F, 0x98, 0x80}},
        {u"\U0001F600", TextEncoding::Utf16Le, Bytes{0x3D, 0xD8, 0x00, 0xDE}},
        {std::u16string(1, char16_t{0xDE00}), TextEncoding::Utf8, std::nullopt},
    };
    for (const Case& c : cases) {
        TypedText typed;
        std::optional<Bytes> last;
        for (std::size_t i = 0; i < c.units.size(); ++i) {
            last = typed.Take(c.units[i], c.encoding);
            if (i + 1 < c.units.size()) {
                EXPECT_EQ(last, Bytes{});  // the first half of a pair waits
            }
        }
        EXPECT_EQ(last, c.last) << static_cast<int>(c.units[0]);
    }
}

}  // namespace
}  // namespace tvx::test
