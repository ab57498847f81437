#include "platform/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace tvx::platform {

std::vector<std::u16string> CommandLineArguments(int, char**) {
    std::vector<std::u16string> arguments;
    int count = 0;
    wchar_t** list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (list == nullptr) return arguments;
    for (int i = 0; i < count; ++i) arguments.emplace_back(list[i], list[i] + std::wcslen(list[i]));
    ::LocalFree(list);
    return arguments;
}

}  // namespace tvx::platform
