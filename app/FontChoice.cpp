#include "app/FontChoice.h"

#include "platform/CaseCompare.h"

#include <algorithm>
#include <cmath>

namespace tvx {

std::vector<std::u16string> FixedPitchFamilies(const std::vector<ReportedFace>& faces) {
    // Faces come once per character set; the first spelling of a name is the one kept.
    std::vector<std::u16string> families;
    for (const ReportedFace& face : faces) {
        if (face.name.empty() || face.name.front() == u'@' || !face.fixedPitch) continue;
        const bool known = std::any_of(families.begin(), families.end(), [&](const std::u16string& family) {
            return platform::EqualIgnoringCase(family, face.name);
        });
        if (!known) families.push_back(face.name);
    }
    std::stable_sort(families.begin(), families.end(), [](const std::u16string& a, const std::u16string& b) {
        return platform::CompareIgnoringCase(a, b) < 0;
    });
    return families;
}

std::size_t FamilyIndex(const std::vector<std::u16string>& families, const std::u16string& current) {
    const auto found = std::find_if(families.begin(), families.end(), [&](const std::u16string& family) {
        return platform::EqualIgnoringCase(family, current);
    });
    return found == families.end() ? 0 : static_cast<std::size_t>(found - families.begin());
}

std::size_t FontSizeIndex(float points) {
    const float rounded = std::round(points);  // halves away from zero
    const auto found = std::find(kFontSizes.begin(), kFontSizes.end(), rounded);
    return found == kFontSizes.end() ? 0 : static_cast<std::size_t>(found - kFontSizes.begin());
}

}  // namespace tvx
