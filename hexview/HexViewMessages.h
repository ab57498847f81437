#pragma once
// What the hex view's window tells its parent: offsets from WM_APP (0x8000), 1 to 9; the
// side windows and the application use other ranges.

#include <cstdint>

namespace tvx {

enum HexViewMessage : std::uint32_t {
    kAppDocumentChanged = 1,
    kAppReadOnlyBlocked = 2,
    kAppViewStatusChanged = 3,
    kAppPasteRefused = 4,  // wParam: the PasteRefusal
    kAppConfirmLargeCopy = 5,  // sent; wParam: the byte count; the answer is 1 to copy
    kAppCopyFailed = 6,
};

// Control identifier of the hex view child.
constexpr int kHexViewControlId = 2001;

}  // namespace tvx
