#include "app/WindowTitle.h"

namespace tvx {

std::u16string FileNamePart(const std::u16string& path) {
    const std::size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string::npos ? path : path.substr(cut + 1);
}

std::u16string BuildWindowTitle(const std::u16string& appTitle, bool fileOpen, const std::u16string& path,
                                bool modified) {
    if (!fileOpen) return appTitle;
    std::u16string title = appTitle + u" - " + FileNamePart(path);
    if (modified) title += u" *";
    return title;
}

}  // namespace tvx
