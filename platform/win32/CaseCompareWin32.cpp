#include "platform/CaseCompare.h"

#include <windows.h>

#include <climits>
#include <string>

namespace tvx::platform {

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    if (a.size() > static_cast<std::size_t>(INT_MAX)) return a == b;
    const std::wstring wideA(a.begin(), a.end()), wideB(b.begin(), b.end());
    return ::CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace tvx::platform
