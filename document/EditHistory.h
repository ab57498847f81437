#pragma once
// The undo and redo steps of a document. A change replaces the pieces at one offset by others
// and keeps both lists, so it can be applied either way without copying the document.

#include "document/Piece.h"

#include <cstdint>
#include <vector>

namespace tvx {

struct PieceChange {
    std::uint64_t offset = 0;
    std::vector<Piece> removed;
    std::vector<Piece> inserted;
};

// One user action: its changes in the order they were made.
using EditStep = std::vector<PieceChange>;

class EditHistory {
public:
    // Adds a change to the open group's step, or as a step of its own; drops the redo steps.
    void Record(PieceChange change);
    void BeginGroup();
    void EndGroup();
    // Ends every open group.
    void CloseGroups();
    void Clear();

    [[nodiscard]] bool CanUndo() const { return !undo_.empty() || !open_.empty(); }
    [[nodiscard]] bool CanRedo() const { return !redo_.empty(); }
    // Moves the newest step to the redo side (or back) and returns it; null when there is none.
    const EditStep* TakeUndo();
    const EditStep* TakeRedo();

private:
    std::vector<EditStep> undo_;
    std::vector<EditStep> redo_;
    EditStep open_;  // the changes of the open group
    int depth_ = 0;
};

}  // namespace tvx
