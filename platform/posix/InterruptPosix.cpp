#include "platform/Interrupt.h"

#include <csignal>
#include <initializer_list>

namespace tvx::platform {
namespace {

volatile std::sig_atomic_t requested = 0;  // the signal's number, 0 for none

extern "C" void OnSignal(int signal) { requested = signal; }

}  // namespace

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM}) ::sigaction(signal, &action, nullptr);
}

bool InterruptRequested() noexcept { return requested != 0; }

int InterruptExitCode() noexcept { return 128 + (requested != 0 ? requested : SIGINT); }

void ClearInterrupt() noexcept { requested = 0; }

}  // namespace tvx::platform
