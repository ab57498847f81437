#include "app/DropRule.h"

namespace tvx {

void DispatchDroppedFiles(const std::vector<std::u16string>& paths, bool fileOpen, const DropTargets& targets) {
    for (const std::u16string& path : paths) {
        if (fileOpen)
            targets.openInNewInstance(path);
        else
            fileOpen = targets.openHere(path);
    }
}

}  // namespace tvx
