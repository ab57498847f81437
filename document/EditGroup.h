#pragma once
// Makes every edit within a scope one undo step.

#include "document/DocumentInterfaces.h"

namespace tvx {

class EditGroup {
public:
    explicit EditGroup(IUndoableDocument& document) : document_(document) { document_.BeginEditGroup(); }
    ~EditGroup() { document_.EndEditGroup(); }
    EditGroup(const EditGroup&) = delete;
    EditGroup& operator=(const EditGroup&) = delete;

private:
    IUndoableDocument& document_;
};

}  // namespace tvx
