#pragma once
// What the tolerant settings reader passes over in a file: whether the text is JSON at all,
// and the values it does not understand (which keep their defaults).

#include <string>
#include <string_view>
#include <vector>

namespace tvx::cli {

struct SettingsCheck {
    bool validJson = true;
    std::vector<std::string> problems;  // one line each, for a person
};

[[nodiscard]] SettingsCheck CheckSettingsText(std::string_view text);

}  // namespace tvx::cli
