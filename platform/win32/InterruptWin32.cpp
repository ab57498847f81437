#include "platform/Interrupt.h"

#include <windows.h>

#include <atomic>

namespace tvx::platform {
namespace {

std::atomic<bool> requested{false};

// Runs on a thread of its own; returning TRUE keeps the process alive to stop by itself.
BOOL WINAPI OnConsoleEvent(DWORD) {
    requested = true;
    return TRUE;
}

}  // namespace

void CatchInterrupts() { ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool InterruptRequested() noexcept { return requested; }

int InterruptExitCode() noexcept { return 130; }

void ClearInterrupt() noexcept { requested = false; }

}  // namespace tvx::platform
