#include "app/ByteCount.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(ParseByteCount, DecimalOrHexadecimalAfter0x) {
    const struct {
        const char16_t* text;
        std::optional<std::uint64_t> count;
    } cases[] = {
        {u"1048576", 1048576},  {u" 16 ", 16},        {u"0x100000", 1048576}, {u"0XfF", 255},
        {u"18446744073709551615", ~std::uint64_t{0}}, {u"18446744073709551616", std::nullopt},
        {u"0", std::nullopt},   {u"0x0", std::nullopt}, {u"", std::nullopt},   {u"0x", std::nullopt},
        {u"1F", std::nullopt},  {u"-1", std::nullopt}, {u"1 024", std::nullopt}, {u"1.5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseByteCount(c.text), c.count) << std::u16string(c.text).size();
}

}  // namespace
}  // namespace tvx
