#pragma once
// What the font dialog offers: the installed fixed-pitch families, each once, sorted without
// regard to case, and the fixed list of sizes.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace tvx {

// One face as the system's font enumeration reports it.
struct ReportedFace {
    std::u16string name;
    bool fixedPitch = false;
};

// Fixed-pitch faces with a name, without the vertical-writing variants ("@" names), each name
// once in the letter case reported first, sorted without regard to case.
[[nodiscard]] std::vector<std::u16string> FixedPitchFamilies(const std::vector<ReportedFace>& faces);

// The first family equal to current without regard to case, else 0.
[[nodiscard]] std::size_t FamilyIndex(const std::vector<std::u16string>& families, const std::u16string& current);

inline constexpr std::array<int, 12> kFontSizes = {8, 9, 10, 11, 12, 13, 14, 16, 18, 20, 24, 28};

// The size equal to points rounded half away from zero, else 0 (8).
[[nodiscard]] std::size_t FontSizeIndex(float points);

}  // namespace tvx
