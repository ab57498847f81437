#pragma once
// A document opened over a scratch file with given contents.

#include "document/EditableDocument.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace tvx::test {

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
