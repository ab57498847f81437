#include "platform/CharClass.h"

#include <windows.h>

namespace tvx::platform {

bool IsNonspacingMark(std::u16string_view character) {
    if (character.empty() || character.size() > 2) return false;
    WORD types[2] = {0, 0};
    if (!GetStringTypeW(CT_CTYPE3, reinterpret_cast<const wchar_t*>(character.data()),
                        static_cast<int>(character.size()), types))
        return false;
    return (types[0] & C3_NONSPACING) != 0 && (types[0] & C3_ALPHA) == 0;
}

}  // namespace tvx::platform
