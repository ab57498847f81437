#include "document/EditHistory.h"

namespace tvx {

void EditHistory::Record(PieceChange change) {
    redo_.clear();
    if (depth_ > 0) {
        open_.push_back(std::move(change));
        return;
    }
    undo_.emplace_back();
    undo_.back().push_back(std::move(change));
}

void EditHistory::BeginGroup() { ++depth_; }

void EditHistory::EndGroup() {
    if (depth_ == 0 || --depth_ > 0) return;
    if (!open_.empty()) undo_.push_back(std::move(open_));
    open_.clear();
}

void EditHistory::CloseGroups() {
    if (depth_ == 0) return;
    depth_ = 1;
    EndGroup();
}

void EditHistory::Clear() {
    undo_.clear();
    redo_.clear();
    open_.clear();
    depth_ = 0;
}

const EditStep* EditHistory::TakeUndo() {
    CloseGroups();
    if (undo_.empty()) return nullptr;
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    return &redo_.back();
}

const EditStep* EditHistory::TakeRedo() {
    CloseGroups();
    if (redo_.empty()) return nullptr;
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    return &undo_.back();
}

}  // namespace tvx
