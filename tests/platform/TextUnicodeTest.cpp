#include "platform/TextUnicode.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace tvx::platform {
namespace {

bool Plausible(std::string_view bytes) {
    const std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    return IsPlausibleUtf16Text(copy);
}

// The verdicts the system's test and the portable one share.
TEST(TextUnicode, LittleEndianTextPasses) {
    using namespace std::string_view_literals;
    EXPECT_TRUE(Plausible("A\0B\0C\0D\0"sv));
    EXPECT_TRUE(Plausible("H\0i\0 \0"sv));           // a space
    EXPECT_TRUE(Plausible("A\0\r\0\n\0"sv));         // a line end
    EXPECT_TRUE(Plausible("\x00\x30" "A\0"sv));      // the ideographic space U+3000
    EXPECT_TRUE(Plausible("\xE9\0A\0"sv));           // Latin-1 letters
    EXPECT_TRUE(Plausible("\x3D\xD8\x00\xDE \0!\0"sv));  // a surrogate pair and a space
}

TEST(TextUnicode, OtherBytesFail) {
    using namespace std::string_view_literals;
    EXPECT_FALSE(Plausible(""sv));
    EXPECT_FALSE(Plausible("A"sv));
    EXPECT_FALSE(Plausible("\x00\xDC"sv));  // one unit, a lone low surrogate
    EXPECT_FALSE(Plausible("ABCD"sv));
    EXPECT_FALSE(Plausible("\0A\0B\0C\0D"sv));  // big-endian text
    EXPECT_FALSE(Plausible("\xFF\xFF\xFF\xFF"sv));
    EXPECT_FALSE(Plausible("ABABABABABABABABABABABABABABABAB"sv));
}

#ifndef _WIN32
// The portable rule where Windows' statistics are its own.
TEST(TextUnicode, PortableRule) {
    using namespace std::string_view_literals;
    EXPECT_TRUE(Plausible("A\0"sv));                          // zero-extended ASCII
    EXPECT_TRUE(Plausible("\x42\x30\x44\x30\x46\x30"sv));     // kana: the high byte stays
    EXPECT_TRUE(Plausible("\x3D\xD8\x00\xDE\x3D\xD8\x01\xDE"sv));
    EXPECT_TRUE(Plausible("A\0B\0C\0D\0E"sv));                // an odd last byte is ignored
    EXPECT_FALSE(Plausible("\0\0\0\0"sv));                    // zero units are not text
    EXPECT_FALSE(Plausible("\x42\x30"sv));                    // one unit: no statistics
    // The high bytes must change less than half as much as the low bytes: 2 * 2 < 5 passes,
    // 2 * 2 < 4 does not.
    EXPECT_TRUE(Plausible("\x10\x50\x15\x52"sv));
    EXPECT_FALSE(Plausible("\x10\x50\x14\x52"sv));
}
#endif

}  // namespace
}  // namespace tvx::platform
