#pragma once
// One stretch of the edited document: bytes of the file, file bytes overwritten with bytes of
// the added buffer, or bytes of the added buffer inserted between file bytes.

#include <cstdint>

namespace tvx {

enum class PieceSource : std::uint8_t {
    File,       // file bytes [fileOffset, fileOffset + length)
    Overwrite,  // stands for those file bytes, holds added bytes [bufferOffset, ...) instead
    Added,      // added bytes [bufferOffset, bufferOffset + length), standing for no file byte
};

struct Piece {
    PieceSource source = PieceSource::File;
    // Added bytes only: inserted before a file byte (rather than at the end of the document),
    // so that saving must shift the bytes after them.
    bool anchored = false;
    std::uint64_t fileOffset = 0;
    std::uint64_t bufferOffset = 0;
    std::uint64_t length = 0;

    [[nodiscard]] bool CoversFile() const { return source != PieceSource::Added; }
    [[nodiscard]] bool UsesBuffer() const { return source != PieceSource::File; }

    // The count bytes starting at from.
    [[nodiscard]] Piece Slice(std::uint64_t from, std::uint64_t count) const {
        Piece slice = *this;
        if (CoversFile()) slice.fileOffset += from;
        if (UsesBuffer()) slice.bufferOffset += from;
        slice.length = count;
        return slice;
    }

    // Extends this piece by next when next continues it in file and buffer alike.
    [[nodiscard]] bool Absorb(const Piece& next) {
        if (next.source != source || next.anchored != anchored) return false;
        if (CoversFile() && fileOffset + length != next.fileOffset) return false;
        if (UsesBuffer() && bufferOffset + length != next.bufferOffset) return false;
        length += next.length;
        return true;
    }
};

}  // namespace tvx
