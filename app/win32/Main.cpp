// tavro.exe: the wide-character GUI entry point.

#include "app/win32/AppWindow.h"

#include <shellapi.h>
#include <windows.h>

#include <optional>
#include <string>

namespace {

// The second command-line argument, when present and not empty; later ones are ignored.
std::optional<std::u16string> PathFromCommandLine() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::optional<std::u16string> path;
    if (args && count >= 2 && args[1][0] != L'\0') path = reinterpret_cast<const char16_t*>(args[1]);
    if (args) LocalFree(args);
    return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    std::optional<std::u16string> path = PathFromCommandLine();
    tvx::AppWindow app;
    if (!app.Create(instance, std::move(path))) return -1;
    return app.RunMessageLoop();
}
