#pragma once
// CRC-32 as zlib, PNG and Ethernet compute it (reflected polynomial 0xEDB88320, initial value
// and final XOR 0xFFFFFFFF).

#include <cstdint>
#include <span>

namespace tvx {

class Crc32 {
public:
    void Update(std::span<const std::uint8_t> bytes) noexcept;
    [[nodiscard]] std::uint32_t Value() const noexcept { return ~state_; }

private:
    std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace tvx
