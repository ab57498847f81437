#pragma once
// The texts under which the settings file stores each enumeration.
// Writing maps a number outside the enumeration to the fallback shown; reading maps any
// text it does not know (compared exactly, case-sensitively) to the same fallback.

#include "settings/Enums.h"

#include <string_view>

namespace tvx {

// "Ascii", "Utf8", "Utf16Le", "Utf16Be"; fallback Ascii.
[[nodiscard]] std::string_view EncodingName(TextEncoding encoding);
[[nodiscard]] TextEncoding EncodingFromName(std::string_view name);

// "Light", "DarkBlue", "Black"; fallback DarkBlue.
[[nodiscard]] std::string_view ThemeName(Theme theme);
[[nodiscard]] Theme ThemeFromName(std::string_view name);

// "System", "English", "Japanese"; fallback System.
[[nodiscard]] std::string_view LanguageName(Language language);
[[nodiscard]] Language LanguageFromName(std::string_view name);

// "hex", "ascii"; fallback hex.
[[nodiscard]] std::string_view ByteArrayFormatName(ByteArrayFormat format);
[[nodiscard]] ByteArrayFormat ByteArrayFormatFromName(std::string_view name);

// "little", "big"; fallback little.
[[nodiscard]] std::string_view ByteOrderName(ByteOrder order);
[[nodiscard]] ByteOrder ByteOrderFromName(std::string_view name);

// "hex", "dec"; fallback hex.
[[nodiscard]] std::string_view NumericBaseName(NumericBase base);
[[nodiscard]] NumericBase NumericBaseFromName(std::string_view name);

}  // namespace tvx
