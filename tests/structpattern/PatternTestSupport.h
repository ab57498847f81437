#pragma once
// Helpers shared by the struct pattern tests.

#include "platform/Utf8.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// UTF-8 for readable assertion messages.
inline std::string Narrow(const std::u16string& text) { return platform::EncodeUtf8(text); }

// The error text of loading the UTF-8 pattern source; empty when it loads.
inline std::string LoadError(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    if (LoadStructPatternBytes(source, file, error)) return {};
    EXPECT_FALSE(error.empty()) << "a failed load must say why";
    return Narrow(error);
}

// Loads the source, adding a test failure (with the error) when it does not load.
inline std::shared_ptr<const StructPatternFile> LoadOk(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    EXPECT_TRUE(LoadStructPatternBytes(source, file, error)) << Narrow(error) << "\nsource: " << source;
    return std::make_shared<const StructPatternFile>(std::move(file));
}

// The expected text of an error at (line, column): the head, the source line and a caret.
inline std::string ErrorAt(std::string_view sourceLine, unsigned line, unsigned column, std::string_view message) {
    return "Line " + std::to_string(line) + ", Col " + std::to_string(column) + ": " + std::string(message) +
           "\r\n" + std::string(sourceLine) + "\r\n" + std::string(column - 1, ' ') + "^";
}

// The layout named name; adds a failure and returns an empty layout when there is none.
inline const StructLayout& LayoutNamed(const StructPatternFile& file, std::string_view name) {
    for (const StructLayout& layout : file.structs) {
        if (Narrow(layout.name) == name) return layout;
    }
    ADD_FAILURE() << "no struct named " << name;
    static const StructLayout kEmpty;
    return kEmpty;
}

// Rows of the entry struct over data at baseOffset as "name | offset | value | size".
inline std::vector<std::string> RowTexts(const std::shared_ptr<const StructPatternFile>& file, const Bytes& data,
                                         StructValueFormat format = {}, std::uint64_t baseOffset = 0) {
    StructEvalRequest request{baseOffset, data, file, {}, format};
    std::vector<std::string> texts;
    for (const StructViewRow& row : BuildStructRows(request))
        texts.push_back(Narrow(row.name) + " | " + Narrow(row.offset) + " | " + Narrow(row.value) + " | " +
                        Narrow(row.size));
    return texts;
}

// The value text of the first row named name (exact), or "<no row>".
inline std::string ValueOf(const std::vector<StructViewRow>& rows, std::string_view name) {
    for (const StructViewRow& row : rows) {
        if (Narrow(row.name) == name) return Narrow(row.value);
    }
    return "<no row>";
}

}  // namespace tvx::test
