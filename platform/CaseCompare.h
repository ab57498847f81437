#pragma once
// Comparing texts the way the file system compares names: without regard to letter case.

#include <string_view>

namespace tvx::platform {

// CompareStringOrdinal with ignore-case: each UTF-16 unit compared in its upper-case form
// (simple, locale-independent case mapping, not only ASCII).
[[nodiscard]] bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);

// The order of the same upper-case forms, unit by unit, a shorter text before its
// extensions: negative when a sorts first, 0 when equal without regard to case, else positive.
[[nodiscard]] int CompareIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace tvx::platform
