#pragma once
// Loading a struct pattern file ("*.tvsd"): read, decode, tokenize, parse, lay out, choose
// the entry struct.

#include "structpattern/StructPatternFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tvx {

// Files larger than this are refused ("Definition file is too large.") before anything is
// decoded: the token list of a file costs tens of bytes per source character.
inline constexpr std::uint64_t kMaxPatternFileBytes = 32ull * 1024 * 1024;

// Reads the file at path and loads it. On false, error holds the complete text (with position
// and excerpt where the failing stage gives one) and file is to be discarded.
[[nodiscard]] bool LoadStructPatternFile(const std::u16string& path, StructPatternFile& file, std::u16string& error);

// Loads the bytes of a pattern file (UTF-8, optionally with a byte-order mark).
[[nodiscard]] bool LoadStructPatternBytes(std::string_view bytes, StructPatternFile& file, std::u16string& error);

// Nine lines joined by CR LF: "entry = Name" (+ " (implicit)"), then the eight directive values.
[[nodiscard]] std::u16string FormatPatternSummary(const StructPatternFile& file);

}  // namespace tvx
