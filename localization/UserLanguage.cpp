#include "localization/UserLanguage.h"

#include "platform/Locale.h"

namespace tvx {

Language LanguageForLocaleName(std::u16string_view localeName) {
    return localeName.starts_with(u"ja") ? Language::Japanese : Language::English;
}

Language DefaultLanguageForUser() { return LanguageForLocaleName(platform::UserDefaultLocaleName()); }

}  // namespace tvx
