#pragma once
// The user's locale, as the system names it.

#include <string>

namespace tvx::platform {

// GetUserDefaultLocaleName ("en-US", "ja-JP"); on Linux the first non-empty of LC_ALL,
// LC_MESSAGES and LANG ("ja_JP.UTF-8"). Empty when the system gives no name.
[[nodiscard]] std::u16string UserDefaultLocaleName();

}  // namespace tvx::platform
