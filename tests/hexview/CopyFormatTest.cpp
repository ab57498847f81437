#include "hexview/CopyFormat.h"
#include "tests/hexview/HexViewTestSupport.h"

namespace tvx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(CopyFormat, EachFormatOfTheSameBytes) {
    Bytes thirteen(13);
    std::iota(thirteen.begin(), thirteen.end(), std::uint8_t{0xF4});
    const struct {
        Bytes bytes;
        CopyFormat format;
        std::u16string text;
    } cases[] = {
        {{0x00, 0x0A, 0xFF}, CopyFormat::HexSpaced, u"00 0A FF"},
        {{0x41}, CopyFormat::HexSpaced, u"41"},
        {{0x00, 0x0A, 0xFF}, CopyFormat::HexCompact, u"000AFF"},
        {{0x00, 0x0A, 0xFF}, CopyFormat::PythonBytes, u"b'\\x00\\x0a\\xff'"},
        {{'\''}, CopyFormat::PythonBytes, u"b'\\x27'"},
        {{0x00, 0x0A, 0xFF}, CopyFormat::CArray, u"unsigned char data[3] = {\r\n    0x00, 0x0a, 0xff\r\n};"},
        {thirteen, CopyFormat::CArray,
         u"unsigned char data[13] = {\r\n"
         u"    0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xfb, 0xfc, 0xfd, 0xfe, 0xff,\r\n"
         u"    0x00\r\n};"},
        {Bytes(thirteen.begin(), thirteen.begin() + 12), CopyFormat::CArray,
         u"unsigned char data[12] = {\r\n"
         u"    0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xfb, 0xfc, 0xfd, 0xfe, 0xff\r\n};"},
        {{'f'}, CopyFormat::Base64, u"Zg=="},
        {{'f', 'o'}, CopyFormat::Base64, u"Zm8="},
        {{'f', 'o', 'o'}, CopyFormat::Base64, u"Zm9v"},
        {{'f', 'o', 'o', 'b', 'a', 'r'}, CopyFormat::Base64, u"Zm9vYmFy"},
        {{0xFB, 0xFF}, CopyFormat::Base64, u"+/8="},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatCopyText(c.bytes, c.format), c.text);
}

using CopyAs = HexViewTest;

// Above 16 MiB the user is asked first; a declined copy writes nothing, and a declined cut
// deletes nothing.
TEST_F(CopyAs, LargeSelectionsAskFirst) {
    Open(4);
    view.SetSelection(1, 2);
    EXPECT_TRUE(view.CopyAs(CopyFormat::HexCompact));
    EXPECT_EQ(host.clipboard, (std::vector<std::u16string>{u"0102"}));
    EXPECT_TRUE(host.largeCopyQuestions.empty());

    document.fakeSize_ = kLargeCopyBytes + 1;
    Editable();
    view.SelectAll();
    view.Cut();
    EXPECT_EQ(host.largeCopyQuestions, (std::vector<std::uint64_t>{kLargeCopyBytes + 1}));
    EXPECT_EQ(document.GetSize(), kLargeCopyBytes + 1);
    EXPECT_EQ(host.clipboard.size(), 1u);

    host.largeCopyAllowed = true;
    EXPECT_TRUE(view.CopyAs(CopyFormat::Base64));
    ASSERT_EQ(host.clipboard.size(), 2u);
    EXPECT_EQ(host.clipboard.back().size(), (kLargeCopyBytes + 3) / 3 * 4);
    EXPECT_EQ(host.copyFailures, 0);
}

}  // namespace
}  // namespace tvx::test
