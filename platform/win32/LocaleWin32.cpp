#include "platform/Locale.h"

#include <windows.h>

namespace tvx::platform {

std::u16string UserDefaultLocaleName() {
    wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = ::GetUserDefaultLocaleName(buffer, LOCALE_NAME_MAX_LENGTH);
    if (length <= 1) return {};  // the count includes the terminating NUL
    return std::u16string(buffer, buffer + length - 1);
}

}  // namespace tvx::platform
