#pragma once
// A complete bitmap file made in code.

#include <cstdint>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// A BI_RGB bitmap, bottom-up, rows padded to 4 bytes; bitCount 24 or 32.
Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount);

}  // namespace tvx::test
