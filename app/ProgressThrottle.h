#pragma once
// How often a long operation redraws its percentage in the status bar: at most every 50 ms
// while the percentage moves and every 100 ms while it stands still; 0 % and 100 % are shown
// at once unless the same value was shown within the last 100 ms.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tvx {

class ProgressThrottle {
public:
    // Forgets the last value shown, so that the next update always passes.
    void Reset();

    // The percentage to show now, or nothing when the redraw is held back. nowMs is a
    // millisecond clock (GetTickCount64); total 0 counts as complete.
    [[nodiscard]] std::optional<std::uint64_t> Update(std::size_t done, std::size_t total, std::uint64_t nowMs);

private:
    static constexpr std::uint64_t kNone = ~std::uint64_t{0};
    std::uint64_t lastPercent_ = kNone;
    std::uint64_t lastTick_ = 0;
};

// "<label> <percent>%", the status text while the operation runs.
[[nodiscard]] std::u16string FormatProgressText(const std::u16string& label, std::uint64_t percent);

}  // namespace tvx
