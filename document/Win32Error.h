#pragma once

#include "platform/File.h"

#include <string>

namespace tvx {

// The system's message for an error code, or "Win32 error: " and the code in decimal when the
// system has none; empty for code 0.
[[nodiscard]] std::u16string FormatWin32Error(platform::ErrorCode code);

}  // namespace tvx
