#pragma once
// What the Data Inspector window tells its owner: offsets from WM_APP (0x8000), 11 only; the
// hex view, the Struct View and the application use other ranges.

#include <cstdint>

namespace tvx {

enum InspectorMessage : std::uint32_t {
    kAppInspectorClosed = 11,
};

}  // namespace tvx
