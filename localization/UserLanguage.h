#pragma once
// The interface language that the user's system locale stands for.

#include "settings/Enums.h"

#include <string_view>

namespace tvx {

// Japanese for a locale name of at least two characters beginning with "ja" ("ja",
// "ja-JP", "ja_JP.UTF-8"); English for any other name, also an empty one. Never System.
[[nodiscard]] Language LanguageForLocaleName(std::u16string_view localeName);

// LanguageForLocaleName of the system's user default locale name.
[[nodiscard]] Language DefaultLanguageForUser();

}  // namespace tvx
