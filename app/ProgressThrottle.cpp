#include "app/ProgressThrottle.h"

#include <algorithm>

namespace tvx {

void ProgressThrottle::Reset() {
    lastPercent_ = kNone;
    lastTick_ = 0;
}

std::optional<std::uint64_t> ProgressThrottle::Update(std::size_t done, std::size_t total, std::uint64_t nowMs) {
    const std::uint64_t percent =
        total == 0 ? 100 : std::min<std::uint64_t>(std::uint64_t{done} * 100 / std::uint64_t{total}, 100);
    const std::uint64_t elapsed = nowMs - lastTick_;
    if (percent == lastPercent_ && elapsed < 100) return std::nullopt;
    if (percent >= 1 && percent <= 99 && elapsed < 50) return std::nullopt;
    lastPercent_ = percent;
    lastTick_ = nowMs;
    return percent;
}

std::u16string FormatProgressText(const std::u16string& label, std::uint64_t percent) {
    std::u16string text = label + u" ";
    for (char digit : std::to_string(percent)) text += static_cast<char16_t>(digit);
    return text + u"%";
}

}  // namespace tvx
