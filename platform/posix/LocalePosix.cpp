#include "platform/Locale.h"

#include "platform/Utf8.h"

#include <cstdlib>

namespace tvx::platform {

std::u16string UserDefaultLocaleName() {
    // The precedence setlocale(LC_MESSAGES, "") applies to the interface language.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return DecodeUtf8(value);
    }
    return {};
}

}  // namespace tvx::platform
