#include "document/PieceTree.h"

#include <algorithm>

namespace tvx {
namespace {

PieceTotals TotalsOf(const Piece& piece) {
    PieceTotals totals;
    totals.bytes = piece.length;
    if (piece.CoversFile()) {
        totals.fileBytes = piece.length;
        totals.fileEnd = piece.fileOffset + piece.length;
    }
    if (piece.source == PieceSource::Overwrite) totals.overwriteBytes = piece.length;
    if (piece.source == PieceSource::Added && piece.anchored) totals.anchoredBytes = piece.length;
    return totals;
}

void Add(PieceTotals& sum, const PieceTotals& part) {
    sum.bytes += part.bytes;
    sum.fileBytes += part.fileBytes;
    sum.overwriteBytes += part.overwriteBytes;
    sum.anchoredBytes += part.anchoredBytes;
    sum.fileEnd = std::max(sum.fileEnd, part.fileEnd);
}

const PieceTotals kNoTotals{};

}  // namespace

void PieceTree::Reset(std::uint64_t fileSize) {
    Clear();
    if (fileSize > 0) root_ = NewNode(Piece{PieceSource::File, false, 0, 0, fileSize});
}

void PieceTree::Clear() {
    nodes_.clear();
    free_.clear();
    root_ = kNil;
}

const PieceTotals& PieceTree::Totals() const { return root_ == kNil ? kNoTotals : nodes_[root_].totals; }

std::uint32_t PieceTree::NewNode(const Piece& piece) {
    // xorshift32: priorities only need to look random to keep the treap balanced.
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    std::uint32_t index;
    if (!free_.empty()) {
        index = free_.back();
        free_.pop_back();
    } else {
        index = static_cast<std::uint32_t>(nodes_.size());
        nodes_.emplace_back();
    }
    Node& node = nodes_[index];
    node = Node{piece, TotalsOf(piece), kNil, kNil, seed_};
    return index;
}

void PieceTree::FreeTree(std::uint32_t tree) {
    std::vector<std::uint32_t> stack;
    if (tree != kNil) stack.push_back(tree);
    while (!stack.empty()) {
        const std::uint32_t node = stack.back();
        stack.pop_back();
        if (nodes_[node].left != kNil) stack.push_back(nodes_[node].left);
        if (nodes_[node].right != kNil) stack.push_back(nodes_[node].right);
        free_.push_back(node);
    }
}

std::uint64_t PieceTree::Bytes(std::uint32_t tree) const { return tree == kNil ? 0 : nodes_[tree].totals.bytes; }

void PieceTree::Update(std::uint32_t index) {
    Node& node = nodes_[index];
    node.totals = TotalsOf(node.piece);
    if (node.left != kNil) Add(node.totals, nodes_[node.left].totals);
    if (node.right != kNil) Add(node.totals, nodes_[node.right].totals);
}

// left receives the first `at` bytes, right the rest; a piece straddling `at` is cut in two.
void PieceTree::Split(std::uint32_t tree, std::uint64_t at, std::uint32_t& left, std::uint32_t& right) {
    if (tree == kNil) {
        left = right = kNil;
        return;
    }
    const std::uint64_t leftBytes = Bytes(nodes_[tree].left);
    const std::uint64_t length = nodes_[tree].piece.length;
    if (at <= leftBytes) {
        Split(nodes_[tree].left, at, left, nodes_[tree].left);
        right = tree;
    } else if (at >= leftBytes + length) {
        Split(nodes_[tree].right, at - leftBytes - length, nodes_[tree].right, right);
        left = tree;
    } else {
        const std::uint64_t cut = at - leftBytes;
        const Piece whole = nodes_[tree].piece;
        const std::uint32_t tail = NewNode(whole.Slice(cut, length - cut));
        nodes_[tree].piece = whole.Slice(0, cut);
        const std::uint32_t after = nodes_[tree].right;
        nodes_[tree].right = kNil;
        right = Merge(tail, after);
        left = tree;
    }
    Update(tree);
}

std::uint32_t PieceTree::Merge(std::uint32_t left, std::uint32_t right) {
    if (left == kNil) return right;
    if (right == kNil) return left;
    if (nodes_[left].priority > nodes_[right].priority) {
        nodes_[left].right = Merge(nodes_[left].right, right);
        Update(left);
        return left;
    }
    nodes_[right].left = Merge(left, nodes_[right].left);
    Update(right);
    return right;
}

// A treap of pieces in order in O(n): the nodes on the right spine so far wait on a stack, and
// each new node takes the lower-priority ones it passes as its left subtree.
std::uint32_t PieceTree::Build(std::span<const Piece> pieces) {
    std::vector<std::uint32_t> spine;
    for (const Piece& piece : pieces) {
        const std::uint32_t node = NewNode(piece);
        std::uint32_t passed = kNil;
        while (!spine.empty() && nodes_[spine.back()].priority < nodes_[node].priority) {
            passed = spine.back();
            spine.pop_back();
            Update(passed);  // its subtree is complete
        }
        nodes_[node].left = passed;
        if (!spine.empty()) nodes_[spine.back()].right = node;
        spine.push_back(node);
    }
    for (auto node = spine.rbegin(); node != spine.rend(); ++node) Update(*node);
    return spine.empty() ? kNil : spine.front();
}

std::uint32_t PieceTree::Edge(std::uint32_t tree, bool rightmost) const {
    if (tree == kNil) return kNil;
    for (;;) {
        const std::uint32_t next = rightmost ? nodes_[tree].right : nodes_[tree].left;
        if (next == kNil) return tree;
        tree = next;
    }
}

void PieceTree::AppendInOrder(std::uint32_t tree, std::vector<Piece>& out) const {
    std::vector<std::uint32_t> pending;
    for (std::uint32_t node = tree; node != kNil || !pending.empty();) {
        for (; node != kNil; node = nodes_[node].left) pending.push_back(node);
        node = pending.back();
        pending.pop_back();
        out.push_back(nodes_[node].piece);
        node = nodes_[node].right;
    }
}

Piece PieceTree::PieceAt(std::uint64_t offset) const {
    Piece found;
    ForEachFrom(offset, [&](const Piece& piece) {
        found = piece;
        return false;
    });
    return found;
}

std::vector<Piece> PieceTree::Collect(std::uint64_t offset, std::uint64_t length) const {
    std::vector<Piece> pieces;
    ForEachFrom(offset, [&](const Piece& piece) {
        if (length == 0) return false;
        const std::uint64_t take = std::min(length, piece.length);
        pieces.push_back(piece.Slice(0, take));
        length -= take;
        return true;
    });
    return pieces;
}

std::vector<Piece> PieceTree::Replace(std::uint64_t offset, std::uint64_t length, std::span<const Piece> pieces) {
    std::uint32_t before, rest, middle, after;
    Split(root_, offset, before, rest);
    Split(rest, length, middle, after);
    std::vector<Piece> removed;
    AppendInOrder(middle, removed);
    FreeTree(middle);

    // The neighbours join the new pieces, so that pieces continuing each other merge.
    std::vector<Piece> joined;
    joined.reserve(pieces.size() + 2);
    const auto append = [&](const Piece& piece) {
        if (piece.length == 0) return;
        if (joined.empty() || !joined.back().Absorb(piece)) joined.push_back(piece);
    };
    if (before != kNil) {
        std::uint32_t last;
        Split(before, Bytes(before) - nodes_[Edge(before, true)].piece.length, before, last);
        append(nodes_[last].piece);
        FreeTree(last);
    }
    for (const Piece& piece : pieces) append(piece);
    if (after != kNil) {
        std::uint32_t first;
        Split(after, nodes_[Edge(after, false)].piece.length, first, after);
        append(nodes_[first].piece);
        FreeTree(first);
    }
    root_ = Merge(Merge(before, Build(joined)), after);
    return removed;
}

}  // namespace tvx
