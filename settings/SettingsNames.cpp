#include "settings/SettingsNames.h"

#include <array>
#include <cstddef>

namespace tvx {
namespace {

// names[i] is the text of enumerator i; fallback is the enumerator used for anything else.
template <typename Enum, std::size_t N>
std::string_view NameOf(Enum value, const std::array<std::string_view, N>& names, Enum fallback) {
    const auto index = static_cast<std::size_t>(value);
    return index < N ? names[index] : names[static_cast<std::size_t>(fallback)];
}

template <typename Enum, std::size_t N>
Enum ValueOf(std::string_view name, const std::array<std::string_view, N>& names, Enum fallback) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == name) return static_cast<Enum>(i);
    return fallback;
}

constexpr std::array<std::string_view, 4> kEncodingNames{"Ascii", "Utf8", "Utf16Le", "Utf16Be"};
constexpr std::array<std::string_view, 3> kThemeNames{"Light", "DarkBlue", "Black"};
constexpr std::array<std::string_view, 3> kLanguageNames{"System", "English", "Japanese"};
constexpr std::array<std::string_view, 2> kByteArrayFormatNames{"hex", "ascii"};
constexpr std::array<std::string_view, 2> kByteOrderNames{"little", "big"};
constexpr std::array<std::string_view, 2> kNumericBaseNames{"hex", "dec"};

}  // namespace

std::string_view EncodingName(TextEncoding encoding) {
    return NameOf(encoding, kEncodingNames, TextEncoding::Ascii);
}
TextEncoding EncodingFromName(std::string_view name) {
    return ValueOf(name, kEncodingNames, TextEncoding::Ascii);
}

std::string_view ThemeName(Theme theme) { return NameOf(theme, kThemeNames, Theme::DarkBlue); }
Theme ThemeFromName(std::string_view name) { return ValueOf(name, kThemeNames, Theme::DarkBlue); }

std::string_view LanguageName(Language language) { return NameOf(language, kLanguageNames, Language::System); }
Language LanguageFromName(std::string_view name) { return ValueOf(name, kLanguageNames, Language::System); }

std::string_view ByteArrayFormatName(ByteArrayFormat format) {
    return NameOf(format, kByteArrayFormatNames, ByteArrayFormat::Hex);
}
ByteArrayFormat ByteArrayFormatFromName(std::string_view name) {
    return ValueOf(name, kByteArrayFormatNames, ByteArrayFormat::Hex);
}

std::string_view ByteOrderName(ByteOrder order) { return NameOf(order, kByteOrderNames, ByteOrder::Little); }
ByteOrder ByteOrderFromName(std::string_view name) { return ValueOf(name, kByteOrderNames, ByteOrder::Little); }

std::string_view NumericBaseName(NumericBase base) { return NameOf(base, kNumericBaseNames, NumericBase::Hex); }
NumericBase NumericBaseFromName(std::string_view name) {
    return ValueOf(name, kNumericBaseNames, NumericBase::Hex);
}

}  // namespace tvx
