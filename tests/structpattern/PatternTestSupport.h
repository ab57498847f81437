#pragma once
// What the struct pattern tests share: a header struct of every field kind and loading a source.

#include "platform/Utf8.h"
#include "structpattern/PatternLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

namespace tvx::test {

// A struct with a field of each kind, ending in a flexible array.
constexpr const char* kHeader =
    "struct Header { char magic[4]; unsigned short version; unsigned int count; double scale; char name[]; };";

inline std::string Narrow(const std::u16string& text) { return platform::EncodeUtf8(text); }

// Loads the source, adding a test failure (with the error) when it does not load.
inline std::shared_ptr<const StructPatternFile> LoadOk(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    EXPECT_TRUE(LoadStructPatternBytes(source, file, error)) << Narrow(error) << "\nsource: " << source;
    return std::make_shared<const StructPatternFile>(std::move(file));
}

}  // namespace tvx::test
