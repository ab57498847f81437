// Inserting and overwriting with a repeated pattern: the pattern is added once and every
// piece refers to it with its phase, whatever the count.

#include "document/EditableDocument.h"

#include <limits>

namespace tvx {

bool EditableDocument::InsertRepeated(std::uint64_t offset, std::uint64_t count,
                                      std::span<const std::uint8_t> pattern) {
    const std::uint64_t size = GetLogicalSize();
    if (!IsOpen() || offset > size || count > std::numeric_limits<std::uint64_t>::max() - size ||
        (count > 0 && pattern.empty()))
        return false;
    if (count == 0) return true;
    EnsurePieces();
    const Piece piece{PieceSource::Added, InsertionAnchored(offset), 0, added_.size(), count, pattern.size(), 0};
    added_.insert(added_.end(), pattern.begin(), pattern.end());
    ReplacePieces(offset, 0, {piece});
    return true;
}

bool EditableDocument::OverwriteRepeated(std::uint64_t offset, std::uint64_t count,
                                         std::span<const std::uint8_t> pattern) {
    const std::uint64_t size = GetLogicalSize();
    if (!IsOpen() || offset > size || count > size - offset || (count > 0 && pattern.empty())) return false;
    if (count == 0) return true;
    EnsurePieces();
    // Added bytes stay added; file bytes become overwritten ones, without reading the file.
    const std::uint64_t base = added_.size();
    std::vector<Piece> replacement;
    std::uint64_t done = 0;
    for (const Piece& old : pieces_.Collect(offset, count)) {
        const bool added = old.source == PieceSource::Added;
        replacement.push_back(Piece{added ? PieceSource::Added : PieceSource::Overwrite, added && old.anchored,
                                    added ? 0 : old.fileOffset, base, old.length, pattern.size(),
                                    done % pattern.size()});
        done += old.length;
    }
    added_.insert(added_.end(), pattern.begin(), pattern.end());
    ReplacePieces(offset, count, std::move(replacement));
    return true;
}

}  // namespace tvx
