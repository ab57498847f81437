#pragma once
// What the Struct View window tells its owner: offsets from WM_APP (0x8000), 12 to 19 except
// 14; the hex view, the Data Inspector and the application use other ranges.

#include <cstdint>

namespace tvx {

enum StructViewMessage : std::uint32_t {
    kAppStructViewClosed = 12,
    kAppStructViewChooseFile = 13,
    kAppStructViewUnload = 15,
    kAppStructViewReload = 16,
    kAppStructFormat = 17,  // wParam: the value format choice
};

}  // namespace tvx
