#include "tests/structpattern/SampleFiles.h"

#include <utility>

namespace tvx::test {

Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    const std::uint32_t image = (w * bitCount + 31) / 32 * 4 * h;
    // Little-endian fields of BITMAPFILEHEADER after "BM", then of BITMAPINFOHEADER: one plane,
    // BI_RGB, 72 DPI, no palette.
    const std::pair<std::uint32_t, int> kFields[] = {
        {54 + image, 4}, {0, 4}, {54, 4}, {40, 4}, {w, 4}, {h, 4}, {1, 2}, {bitCount, 2},
        {0, 4}, {image, 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}};
    Bytes out = {'B', 'M'};
    for (const auto& [value, size] : kFields) {
        for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    for (std::uint32_t i = 0; i < image; ++i) out.push_back(static_cast<std::uint8_t>(i * 7));
    return out;
}

}  // namespace tvx::test
