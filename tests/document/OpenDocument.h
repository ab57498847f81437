#pragma once
// A document opened over a scratch file with given contents.

#include "document/EditableDocument.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tvx::test {

// The part of all that starts at offset and is at most count long, cut at the end.
template <typename T>
std::vector<T> Part(const std::vector<T>& all, std::uint64_t offset, std::uint64_t count) {
    const auto begin = all.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(offset, all.size()));
    return std::vector<T>(begin, begin + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(count, all.end() - begin)));
}

struct OpenDocument {
    explicit OpenDocument(const Bytes& contents, const std::string& name = "doc.bin") : path(dir.File(name)) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, contents);
        EXPECT_TRUE(document.File().Open(path));
    }

    Bytes ReadAll() const { return document.ReadBytes(0, document.GetSize()).bytes; }
    Bytes OnDisk() const { return ReadFileBytes(path); }

    TempDir dir;
    std::u16string path;
    EditableDocument document;
};

}  // namespace tvx::test
