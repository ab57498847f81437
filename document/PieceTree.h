#pragma once
// The document's pieces in order, held in a treap keyed by byte position: every node knows
// the byte count and the other totals of its subtree, so locating an offset, replacing a
// range and reading the totals cost O(log k) for k pieces, whatever the file's size.
// Adjacent pieces that continue each other are kept merged.

#include "document/Piece.h"

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace tvx {

struct PieceTotals {
    std::uint64_t bytes = 0;
    std::uint64_t fileBytes = 0;       // bytes of File and Overwrite pieces
    std::uint64_t overwriteBytes = 0;
    std::uint64_t anchoredBytes = 0;   // bytes of anchored Added pieces
    std::uint64_t fileEnd = 0;         // the highest file offset covered, plus one
};

class PieceTree {
public:
    // One File piece over [0, fileSize), or no piece for an empty file.
    void Reset(std::uint64_t fileSize);
    void Clear();

    [[nodiscard]] const PieceTotals& Totals() const;
    [[nodiscard]] std::uint64_t Size() const { return Totals().bytes; }

    // The piece holding the byte at offset (offset < Size()).
    [[nodiscard]] Piece PieceAt(std::uint64_t offset) const;
    // The pieces of [offset, offset + length), cut to the range.
    [[nodiscard]] std::vector<Piece> Collect(std::uint64_t offset, std::uint64_t length) const;
    // Replaces [offset, offset + length) by pieces; returns the pieces it removed.
    std::vector<Piece> Replace(std::uint64_t offset, std::uint64_t length, std::span<const Piece> pieces);

    // Calls visit(piece) for the pieces from offset on, the first one cut to start at offset,
    // until visit returns false or the pieces end.
    template <typename Visit>
    void ForEachFrom(std::uint64_t offset, Visit&& visit) const;

private:
    static constexpr std::uint32_t kNil = 0xFFFFFFFF;
    struct Node {
        Piece piece;
        PieceTotals totals;
        std::uint32_t left = kNil;
        std::uint32_t right = kNil;
        std::uint32_t priority = 0;
    };

    std::uint32_t NewNode(const Piece& piece);
    void FreeTree(std::uint32_t tree);
    void Update(std::uint32_t node);
    [[nodiscard]] std::uint64_t Bytes(std::uint32_t tree) const;
    void Split(std::uint32_t tree, std::uint64_t at, std::uint32_t& left, std::uint32_t& right);
    std::uint32_t Merge(std::uint32_t left, std::uint32_t right);
    std::uint32_t Build(std::span<const Piece> pieces);
    [[nodiscard]] std::uint32_t Edge(std::uint32_t tree, bool rightmost) const;
    void AppendInOrder(std::uint32_t tree, std::vector<Piece>& out) const;

    std::deque<Node> nodes_;  // a deque keeps references stable while nodes are added
    std::vector<std::uint32_t> free_;
    std::uint32_t root_ = kNil;
    std::uint32_t seed_ = 0x9E3779B9u;
};

template <typename Visit>
void PieceTree::ForEachFrom(std::uint64_t offset, Visit&& visit) const {
    // Descend to the piece holding offset, keeping the nodes still to come after it.
    std::vector<std::uint32_t> pending;
    std::uint32_t node = root_;
    std::uint64_t skip = 0;
    while (node != kNil) {
        const Node& n = nodes_[node];
        const std::uint64_t leftBytes = Bytes(n.left);
        if (offset < leftBytes) {
            pending.push_back(node);
            node = n.left;
        } else if (offset < leftBytes + n.piece.length) {
            skip = offset - leftBytes;
            break;
        } else {
            offset -= leftBytes + n.piece.length;
            node = n.right;
        }
    }
    while (node != kNil) {
        const Piece& piece = nodes_[node].piece;
        if (!visit(skip ? piece.Slice(skip, piece.length - skip) : piece)) return;
        skip = 0;
        node = nodes_[node].right;
        for (; node != kNil; node = nodes_[node].left) pending.push_back(node);
        if (pending.empty()) return;
        node = pending.back();
        pending.pop_back();
    }
}

}  // namespace tvx
