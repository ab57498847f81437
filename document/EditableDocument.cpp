#include "document/EditableDocument.h"

#include <algorithm>
#include <cstring>

namespace tvx {
namespace {

std::uint64_t TotalLength(const std::vector<Piece>& pieces) {
    std::uint64_t length = 0;
    for (const Piece& piece : pieces) length += piece.length;
    return length;
}

}  // namespace

bool EditableDocument::IsOpen() const { return file_.IsOpen(); }

std::uint64_t EditableDocument::GetSize() const { return GetLogicalSize(); }

std::u16string EditableDocument::GetPath() const { return file_.GetPath(); }

std::uint64_t EditableDocument::GetLogicalSize() const { return edited_ ? pieces_.Size() : file_.GetSize(); }

bool EditableDocument::IsModified() const {
    if (!edited_) return false;
    const PieceTotals& totals = pieces_.Totals();
    return totals.bytes != totals.fileBytes || totals.overwriteBytes != 0 || totals.fileBytes != file_.GetSize();
}

void EditableDocument::DropEdits() noexcept {
    edited_ = false;
    pieces_.Clear();
    added_.clear();
    added_.shrink_to_fit();
    scratch_.clear();
    scratch_.shrink_to_fit();
    history_.Clear();
}

void EditableDocument::Close() noexcept {
    DropEdits();
    lastError_.clear();
    file_.Close();
}

void EditableDocument::EnsurePieces() {
    if (edited_) return;
    pieces_.Reset(file_.GetSize());
    edited_ = true;
}

// The pieces of a block are read in few calls however many there are: one scattered read
// takes a run of pieces over nearby file bytes, each file piece straight into its place in
// out, the small gaps between them (deleted bytes) into a scratch buffer, and the bytes over
// added bytes (overwrites, short ones read and then covered) are copied in afterwards.
std::uint64_t EditableDocument::CopyBytes(std::uint64_t offset, std::uint64_t count, std::uint8_t* out) const {
    if (!edited_) return file_.ReadInto(offset, count, out);
    constexpr std::uint64_t kLargestGap = 64 << 10;
    constexpr std::uint64_t kLargestPart = 1 << 30;
    struct Part {
        platform::ReadPart read;
        std::uint64_t outAt;  // where in out the part's bytes (or those after the gap) go
        bool gap;
    };
    std::vector<Part> parts;
    std::vector<platform::ReadPart> reads;
    scratch_.resize(static_cast<std::size_t>(kLargestGap));
    const auto copyAdded = [&](const Piece& piece, std::uint64_t at) {
        CopyAddedBytes(piece, added_.data(), 0, piece.length, out + at);
    };
    const auto readsFile = [&](const Piece& piece) {
        return piece.source == PieceSource::File ||
               (piece.source == PieceSource::Overwrite && piece.length < kLargestGap);
    };

    const std::vector<Piece> pieces = pieces_.Collect(offset, count);
    std::uint64_t copied = 0;
    for (std::size_t i = 0; i < pieces.size();) {
        if (!readsFile(pieces[i])) {
            copyAdded(pieces[i], copied);
            copied += pieces[i++].length;
            continue;
        }
        // The run: pieces up to a long overwrite or a gap of more than kLargestGap file bytes.
        parts.clear();
        const std::uint64_t fileStart = pieces[i].fileOffset;
        std::uint64_t fileAt = fileStart;
        std::uint64_t outAt = copied;
        std::size_t end = i;
        for (; end < pieces.size(); outAt += pieces[end++].length) {
            const Piece& piece = pieces[end];
            if (piece.source == PieceSource::Added) continue;
            if (!readsFile(piece) || piece.fileOffset < fileAt || piece.fileOffset - fileAt > kLargestGap) break;
            if (piece.fileOffset > fileAt)
                parts.push_back({{scratch_.data(), static_cast<std::uint32_t>(piece.fileOffset - fileAt)}, outAt, true});
            for (std::uint64_t done = 0; done < piece.length;) {
                const std::uint64_t length = std::min(piece.length - done, kLargestPart);
                parts.push_back({{out + outAt + done, static_cast<std::uint32_t>(length)}, outAt + done, false});
                done += length;
            }
            fileAt = piece.fileOffset + piece.length;
        }
        reads.clear();
        for (const Part& part : parts) reads.push_back(part.read);
        std::uint64_t read = file_.ReadScattered(fileStart, reads);
        std::uint64_t at = copied;
        for (std::size_t k = i; k < end; at += pieces[k++].length)
            if (pieces[k].UsesBuffer()) copyAdded(pieces[k], at);
        if (read != fileAt - fileStart) {
            // Bytes up to the first part the file could not fill are good.
            for (const Part& part : parts) {
                if (read < part.read.length) return part.outAt + (part.gap ? 0 : read);
                read -= part.read.length;
            }
        }
        copied = outAt;
        i = end;
    }
    return copied;
}

ByteBlock EditableDocument::ReadBytes(std::uint64_t offset, std::uint64_t count) const {
    const std::uint64_t size = GetLogicalSize();
    ByteBlock block{offset, {}};
    if (offset >= size || count == 0) return block;
    block.bytes.resize(static_cast<std::size_t>(std::min(count, size - offset)));
    block.bytes.resize(static_cast<std::size_t>(CopyBytes(offset, block.bytes.size(), block.bytes.data())));
    return block;
}

void EditableDocument::ReplacePieces(std::uint64_t offset, std::uint64_t length, std::vector<Piece> pieces) {
    EnsurePieces();
    std::vector<Piece> removed = pieces_.Replace(offset, length, pieces);
    history_.Record(PieceChange{offset, std::move(removed), std::move(pieces)});
}

bool EditableDocument::InsertionAnchored(std::uint64_t offset) const {
    if (offset >= pieces_.Size()) return false;
    const Piece at = pieces_.PieceAt(offset);
    return at.source != PieceSource::Added || at.anchored;
}

bool EditableDocument::InsertBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (!IsOpen() || offset > GetLogicalSize()) return false;
    if (bytes.empty()) return true;
    // Bytes inserted before a file byte, or into bytes that were, shift the file's bytes after
    // them; bytes appended at the end do not.
    EnsurePieces();
    const Piece piece{PieceSource::Added, InsertionAnchored(offset), 0, added_.size(), bytes.size()};
    added_.insert(added_.end(), bytes.begin(), bytes.end());
    ReplacePieces(offset, 0, {piece});
    return true;
}

bool EditableDocument::DeleteBytes(std::uint64_t offset, std::uint64_t count) {
    const std::uint64_t size = GetLogicalSize();
    if (!IsOpen() || offset > size || count > size - offset) return false;
    if (count == 0) return true;
    ReplacePieces(offset, count, {});
    return true;
}

bool EditableDocument::OverwriteBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    const std::uint64_t size = GetLogicalSize();
    if (!IsOpen() || offset > size || bytes.size() > size - offset) return false;
    if (bytes.empty()) return true;
    EnsurePieces();
    const std::uint64_t base = added_.size();
    std::vector<Piece> replacement;
    std::uint64_t done = 0;
    for (const Piece& old : pieces_.Collect(offset, bytes.size())) {
        if (!AppendOverwrite(old, base + done, bytes.subspan(done, old.length), replacement)) return false;
        done += old.length;
    }
    added_.insert(added_.end(), bytes.begin(), bytes.end());
    ReplacePieces(offset, bytes.size(), std::move(replacement));
    return true;
}

bool EditableDocument::AppendOverwrite(const Piece& old, std::uint64_t base, std::span<const std::uint8_t> bytes,
                                       std::vector<Piece>& out, const std::uint8_t* held) {
    if (old.source == PieceSource::Added) {
        out.push_back(Piece{PieceSource::Added, old.anchored, 0, base, old.length});
        return true;
    }
    // A File piece shows its file bytes, so held spares reading them.
    const bool read = held == nullptr || old.source != PieceSource::File;
    std::uint8_t shortBytes[64];  // short pieces, a replacement's usual case, are read onto the stack
    std::vector<std::uint8_t> longBytes(read && old.length > sizeof shortBytes ? static_cast<std::size_t>(old.length) : 0);
    const std::uint8_t* fileBytes = held;
    if (read) {
        std::uint8_t* const into = longBytes.empty() ? shortBytes : longBytes.data();
        if (file_.ReadInto(old.fileOffset, old.length, into) != old.length) return false;
        fileBytes = into;
    }
    for (std::uint64_t i = 0; i < old.length;) {
        const bool same = fileBytes[i] == bytes[i];
        std::uint64_t end = i + 1;
        while (end < old.length && (fileBytes[end] == bytes[end]) == same) ++end;
        const PieceSource source = same ? PieceSource::File : PieceSource::Overwrite;
        out.push_back(Piece{source, false, old.fileOffset + i, base + i, end - i});
        i = end;
    }
    return true;
}

bool EditableDocument::OverwriteByte(std::uint64_t offset, std::uint8_t value) {
    return OverwriteBytes(offset, std::span(&value, 1));
}

bool EditableDocument::InsertByte(std::uint64_t offset, std::uint8_t value) {
    return InsertBytes(offset, std::span(&value, 1));
}

bool EditableDocument::DeleteByte(std::uint64_t offset) { return DeleteBytes(offset, 1); }

void EditableDocument::BeginEditGroup() { history_.BeginGroup(); }

void EditableDocument::EndEditGroup() { history_.EndGroup(); }

bool EditableDocument::CanUndo() const { return history_.CanUndo(); }

bool EditableDocument::CanRedo() const { return history_.CanRedo(); }

std::optional<EditRange> EditableDocument::Undo() { return Replay(history_.TakeUndo(), false); }

std::optional<EditRange> EditableDocument::Redo() { return Replay(history_.TakeRedo(), true); }

bool EditableDocument::IsChangedRange(std::uint64_t offset, std::uint64_t length) const {
    if (!edited_ || length == 0 || offset >= pieces_.Size()) return false;
    bool changed = false;
    std::uint64_t seen = 0;
    pieces_.ForEachFrom(offset, [&](const Piece& piece) {
        changed = piece.source != PieceSource::File;
        seen += piece.length;
        return !changed && seen < length;
    });
    return changed;
}

std::optional<EditRange> EditableDocument::Replay(const EditStep* step, bool forward) {
    if (!step || step->empty()) return std::nullopt;
    // The range reported spans every change's offset and the end of the bytes it put back.
    std::uint64_t first = GetLogicalSize();
    std::uint64_t end = 0;
    const auto apply = [&](const PieceChange& change) {
        const std::vector<Piece>& from = forward ? change.removed : change.inserted;
        const std::vector<Piece>& to = forward ? change.inserted : change.removed;
        pieces_.Replace(change.offset, TotalLength(from), to);
        first = std::min(first, change.offset);
        end = std::max(end, change.offset + TotalLength(to));
    };
    if (forward)
        std::for_each(step->begin(), step->end(), apply);
    else
        std::for_each(step->rbegin(), step->rend(), apply);
    end = std::min(std::max(end, first), GetLogicalSize());
    first = std::min(first, end);
    return EditRange{first, end - first};
}

}  // namespace tvx
