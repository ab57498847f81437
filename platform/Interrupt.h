#pragma once
// Ctrl+C and termination requests of a console program, turned into a flag that its long work
// polls, so that it can stop cleanly instead of dying part-way.

namespace tvx::platform {

// From now on SIGINT and SIGTERM (on Windows, Ctrl+C, Ctrl+Break and closing the console) set
// the flag instead of ending the process.
void CatchInterrupts();
[[nodiscard]] bool InterruptRequested() noexcept;
// What the process should end with after stopping: 128 plus the signal's number (130 for
// Ctrl+C on Windows).
[[nodiscard]] int InterruptExitCode() noexcept;
// Forgets a request (after the work it stopped has been reported).
void ClearInterrupt() noexcept;

}  // namespace tvx::platform
