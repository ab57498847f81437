#include "tests/structpattern/SampleFiles.h"

#include <initializer_list>

namespace tvx::test {
namespace {

struct Field {
    std::uint64_t value;
    int width;
};

// Appends each field as a little-endian unsigned integer of its width.
void Put(Bytes& out, std::initializer_list<Field> fields) {
    for (const Field& field : fields) {
        for (int i = 0; i < field.width; ++i) out.push_back(static_cast<std::uint8_t>(field.value >> (8 * i)));
    }
}

}  // namespace

Bytes MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    const std::uint32_t image = (w * bitCount + 31) / 32 * 4 * h;
    Bytes out = {'B', 'M'};
    Put(out, {{54 + image, 4}, {0, 4}, {54, 4}});
    // BITMAPINFOHEADER: one plane, BI_RGB, 72 DPI, no palette.
    Put(out, {{40, 4}, {w, 4}, {h, 4}, {1, 2}, {bitCount, 2}, {0, 4}, {image, 4}, {2835, 4}, {2835, 4},
              {0, 4}, {0, 4}});
    for (std::uint32_t i = 0; i < image; ++i) out.push_back(static_cast<std::uint8_t>(i * 7));
    return out;
}

}  // namespace tvx::test
