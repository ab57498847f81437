#pragma once
// A colour of a theme, eight bits a channel.

#include <cstdint>

namespace tvx {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

}  // namespace tvx
