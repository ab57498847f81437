#pragma once
// One stretch of the edited document: bytes of the file, file bytes overwritten with bytes of
// the added buffer, or bytes of the added buffer inserted between file bytes. The added bytes
// of a piece are either a stretch of the buffer or a pattern in it repeated over the piece,
// so that a huge fill or insertion costs the pattern's bytes only.

#include <algorithm>
#include <cstdint>
#include <cstring>

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
    // Repeated pieces only (patternLength > 0): the pattern is the buffer's bytes
    // [bufferOffset, bufferOffset + patternLength), and the piece's byte i is pattern byte
    // (phase + i) % patternLength.
    std::uint64_t patternLength = 0;
    std::uint64_t phase = 0;

    [[nodiscard]] bool CoversFile() const { return source != PieceSource::Added; }
    [[nodiscard]] bool UsesBuffer() const { return source != PieceSource::File; }

    // The count bytes starting at from.
    [[nodiscard]] Piece Slice(std::uint64_t from, std::uint64_t count) const {
        Piece slice = *this;
        if (CoversFile()) slice.fileOffset += from;
        if (patternLength > 0)
            slice.phase = (phase + from) % patternLength;
        else if (UsesBuffer())
            slice.bufferOffset += from;
        slice.length = count;
        return slice;
    }

    // Extends this piece by next when next continues it in file and buffer alike.
    [[nodiscard]] bool Absorb(const Piece& next) {
        if (next.source != source || next.anchored != anchored || next.patternLength != patternLength) return false;
        if (CoversFile() && fileOffset + length != next.fileOffset) return false;
        if (patternLength > 0) {
            if (bufferOffset != next.bufferOffset || (phase + length) % patternLength != next.phase) return false;
        } else if (UsesBuffer() && bufferOffset + length != next.bufferOffset) {
            return false;
        }
        length += next.length;
        return true;
    }
};

// Copies count of a piece's added bytes, from its byte from on, out of the added buffer.
inline void CopyAddedBytes(const Piece& piece, const std::uint8_t* buffer, std::uint64_t from, std::uint64_t count,
                           std::uint8_t* out) {
    if (count == 0) return;
    if (piece.patternLength == 0) {
        std::memcpy(out, buffer + piece.bufferOffset + from, static_cast<std::size_t>(count));
        return;
    }
    // One period from the phase on, then the bytes written so far doubled until count.
    const std::uint8_t* pattern = buffer + piece.bufferOffset;
    const std::uint64_t period = std::min(count, piece.patternLength);
    std::uint64_t written = 0;
    for (std::uint64_t at = (piece.phase + from) % piece.patternLength; written < period; at = 0) {
        const std::uint64_t run = std::min(piece.patternLength - at, period - written);
        std::memcpy(out + written, pattern + at, static_cast<std::size_t>(run));
        written += run;
    }
    while (written < count) {
        const std::uint64_t run = std::min(written, count - written);
        std::memcpy(out + written, out, static_cast<std::size_t>(run));
        written += run;
    }
}

}  // namespace tvx
