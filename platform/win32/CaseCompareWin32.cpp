#include "platform/CaseCompare.h"

#include <windows.h>

#include <climits>
#include <string>

namespace tvx::platform {

int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() > static_cast<std::size_t>(INT_MAX) || b.size() > static_cast<std::size_t>(INT_MAX))
        return a.compare(b);
    const std::wstring wideA(a.begin(), a.end()), wideB(b.begin(), b.end());
    // CSTR_LESS_THAN, CSTR_EQUAL and CSTR_GREATER_THAN are 1, 2 and 3.
    return ::CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                  static_cast<int>(wideB.size()), TRUE) - CSTR_EQUAL;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

}  // namespace tvx::platform
