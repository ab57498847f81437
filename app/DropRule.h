#pragma once
// Which dropped files open in this window and which go to new instances: the window edits one
// file, so once a file is open (before the drop or through it) every further file of the drop
// starts a new instance. A drop never replaces an open file and never asks a question.

#include <functional>
#include <string>
#include <vector>

namespace tvx {

struct DropTargets {
    std::function<bool(const std::u16string&)> openHere;         // true when the file opened
    std::function<void(const std::u16string&)> openInNewInstance;
};

void DispatchDroppedFiles(const std::vector<std::u16string>& paths, bool fileOpen, const DropTargets& targets);

}  // namespace tvx
