#include "document/EditableDocument.h"

#include <algorithm>

namespace tvx {
namespace {

// Hands out the bytes of a run of pieces in order, cutting pieces where a take ends.
class PieceCursor {
public:
    explicit PieceCursor(std::vector<Piece> pieces) : pieces_(std::move(pieces)) {}

    // Calls take(piece) for the next count bytes, piece by piece; false when take fails.
    template <typename Visit>
    bool Take(std::uint64_t count, Visit&& take) {
        while (count > 0) {
            const Piece& piece = pieces_[index_];
            const std::uint64_t length = std::min(count, piece.length - used_);
            if (!take(piece.Slice(used_, length))) return false;
            count -= length;
            used_ += length;
            if (used_ == piece.length) {
                ++index_;
                used_ = 0;
            }
        }
        return true;
    }

    [[nodiscard]] bool AtEnd() const { return index_ == pieces_.size(); }
    [[nodiscard]] const Piece& Next() const { return pieces_[index_]; }

private:
    std::vector<Piece> pieces_;
    std::size_t index_ = 0;
    std::uint64_t used_ = 0;
};

}  // namespace

bool EditableDocument::ReplaceEach(std::span<const std::uint64_t> offsets, std::uint64_t length,
                                   std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> held) {
    if (!IsOpen() || !ValidReplaceRanges(offsets, length, GetLogicalSize())) return false;
    if (!held.empty() && held.size() != length) return false;
    if (offsets.empty() || (length == 0 && bytes.empty())) return true;
    EnsurePieces();

    // Every range takes the same added bytes: the first min(length, bytes) overwrite the
    // range's start, the rest of the range is dropped, the rest of bytes is inserted after it.
    const std::uint64_t first = offsets.front();
    const std::uint64_t spanEnd = offsets.back() + length;
    const std::uint64_t common = std::min<std::uint64_t>(length, bytes.size());
    const std::uint64_t base = added_.size();
    PieceCursor cursor(pieces_.Collect(first, spanEnd - first));
    std::vector<Piece> replacement;
    const auto keep = [&](const Piece& piece) {
        replacement.push_back(piece);
        return true;
    };
    std::uint64_t at = first;
    for (const std::uint64_t offset : offsets) {
        cursor.Take(offset - at, keep);
        std::uint64_t done = 0;
        const bool overwritten = cursor.Take(common, [&](const Piece& old) {
            const bool ok = AppendOverwrite(old, base + done, bytes.subspan(done, old.length), replacement,
                                            held.empty() ? nullptr : held.data() + done);
            done += old.length;
            return ok;
        });
        if (!overwritten) return false;
        cursor.Take(length - common, [](const Piece&) { return true; });
        if (bytes.size() > length) {
            const bool anchored = cursor.AtEnd() ? InsertionAnchored(spanEnd)
                                                 : cursor.Next().source != PieceSource::Added || cursor.Next().anchored;
            replacement.push_back(Piece{PieceSource::Added, anchored, 0, base + length, bytes.size() - length});
        }
        at = offset + length;
    }
    added_.insert(added_.end(), bytes.begin(), bytes.end());
    ReplacePieces(first, spanEnd - first, std::move(replacement));
    return true;
}

}  // namespace tvx
