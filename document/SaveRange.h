#pragma once
// Writing a range of a document to a file of its own, the document unchanged.

#include "document/DocumentInterfaces.h"

#include <string>

namespace tvx {

// Writes [offset, offset + length) of the document (which must lie within it) to a temporary
// file in path's folder that then replaces path. False with the reason in error when a read,
// a write or the replacement fails, or when path is the document's own file; path is then as
// it was and no temporary file remains. Progress counts the bytes written of length.
[[nodiscard]] bool SaveRange(const IReadOnlyDocument& document, std::uint64_t offset, std::uint64_t length,
                             const std::u16string& path, const ProgressCallback& progress, std::u16string& error);

}  // namespace tvx
