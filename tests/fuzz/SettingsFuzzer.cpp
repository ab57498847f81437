// libFuzzer target: the bytes as a settings file. Whatever it holds, the record read from it,
// written in the program's layout and read again, comes back as it was; the font size only
// as its six significant digits.

#include "settings/SettingsFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>

void tvx::fuzz::TestOneInput(Input input) {
    static const std::filesystem::path path = ScratchFolder() / "tavro.settings.json";
    const auto read = [](std::string_view bytes) {
        WriteFile(path, bytes);
        AppSettings settings;
        Require(ReadSettingsFile(settings, path.u16string()));
        return settings;
    };
    AppSettings first = read(input.Rest());
    const AppSettings second = read(SerializeSettings(first));
    char digits[32];
    std::snprintf(digits, sizeof digits, "%g", static_cast<double>(first.fontSize));
    first.fontSize = std::strtof(digits, nullptr);
    Require(second == first);
}
