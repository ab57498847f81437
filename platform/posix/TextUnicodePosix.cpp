// A UTF-16 plausibility test in the role of IsTextUnicode's ASCII16, statistics and controls
// tests.

#include "platform/TextUnicode.h"

#include <cstddef>
#include <cstdlib>

namespace tvx::platform {
namespace {

bool IsControlUnit(char16_t unit) {
    return unit == u'\r' || unit == u'\n' || unit == u'\t' || unit == u' ' || unit == 0x3000;
}

}  // namespace

bool IsPlausibleUtf16Text(std::span<const std::uint8_t> bytes) {
    const std::size_t count = bytes.size() / 2;
    if (count == 0) return false;
    bool ascii = true;
    // Text in one script keeps the high byte nearly constant while the low byte moves; in
    // arbitrary binary data, and in byte text read as UTF-16, both move alike.
    long highChange = 0;
    long lowChange = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t low = bytes[2 * i];
        const std::uint8_t high = bytes[2 * i + 1];
        const auto unit = static_cast<char16_t>(low | high << 8);
        if (IsControlUnit(unit)) return true;
        ascii = ascii && unit >= 0x01 && unit <= 0x7F;
        if (i > 0) {
            highChange += std::abs(high - bytes[2 * i - 1]);
            lowChange += std::abs(low - bytes[2 * i - 2]);
        }
    }
    return ascii || (count >= 2 && 2 * highChange < lowChange);
}

}  // namespace tvx::platform
