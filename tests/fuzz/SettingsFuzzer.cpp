// libFuzzer target: the bytes as a settings file. Whatever it holds, the record read from it,
// written in the program's layout and read again, comes back as it was; the font size only
// as its six significant digits.

#include "settings/SettingsFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

tvx::AppSettings ReadFrom(std::string_view bytes) {
    static const std::filesystem::path path = tvx::fuzz::ScratchFolder() / "tavro.settings.json";
    tvx::fuzz::WriteFile(path, bytes);
    tvx::AppSettings settings;
    tvx::fuzz::Require(tvx::ReadSettingsFile(settings, path.u16string()));
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::AppSettings first = ReadFrom(tvx::fuzz::Input(data, size).Rest());
    const tvx::AppSettings second = ReadFrom(tvx::SerializeSettings(first));
    char digits[32];
    std::snprintf(digits, sizeof digits, "%g", static_cast<double>(first.fontSize));
    first.fontSize = std::strtof(digits, nullptr);
    tvx::fuzz::Require(second == first);
    return 0;
}
