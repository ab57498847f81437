#include "tests/structpattern/PatternTestSupport.h"

#include "platform/Utf8.h"
#include "structpattern/PatternLexer.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"

#include <gtest/gtest.h>

namespace tvx::test {

std::string Narrow(const std::u16string& text) { return platform::EncodeUtf8(text); }

std::string LoadError(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    if (LoadStructPatternBytes(source, file, error)) return {};
    EXPECT_FALSE(error.empty()) << "a failed load must say why";
    return Narrow(error);
}

std::shared_ptr<const StructPatternFile> LoadOk(std::string_view source) {
    StructPatternFile file;
    std::u16string error;
    EXPECT_TRUE(LoadStructPatternBytes(source, file, error)) << Narrow(error) << "\nsource: " << source;
    return std::make_shared<const StructPatternFile>(std::move(file));
}

std::string ErrorAt(std::string_view sourceLine, unsigned line, unsigned column, std::string_view message) {
    return "Line " + std::to_string(line) + ", Col " + std::to_string(column) + ": " + std::string(message) +
           "\r\n" + std::string(sourceLine) + "\r\n" + std::string(column - 1, ' ') + "^";
}

ParseState StateFor(std::string_view source) {
    ParseState state;
    state.source = platform::DecodeUtf8(source);
    std::u16string error;
    state.tokens = TokenizePattern(state.source, error);
    EXPECT_FALSE(state.tokens.empty()) << Narrow(error);
    return state;
}

const StructLayout& LayoutNamed(const StructPatternFile& file, std::string_view name) {
    for (const StructLayout& layout : file.structs) {
        if (Narrow(layout.name) == name) return layout;
    }
    ADD_FAILURE() << "no struct named " << name;
    static const StructLayout kEmpty;
    return kEmpty;
}

std::vector<std::string> RowTexts(const std::shared_ptr<const StructPatternFile>& file,
                                  const std::vector<std::uint8_t>& data, StructValueFormat format,
                                  std::uint64_t baseOffset) {
    StructEvalRequest request;
    request.baseOffset = baseOffset;
    request.data = data;
    request.file = file;
    request.format = format;
    std::vector<std::string> texts;
    for (const StructViewRow& row : BuildStructRows(request))
        texts.push_back(Narrow(row.name) + " | " + Narrow(row.offset) + " | " + Narrow(row.value) + " | " +
                        Narrow(row.size));
    return texts;
}

std::string ValueOf(const std::vector<StructViewRow>& rows, std::string_view name) {
    for (const StructViewRow& row : rows) {
        if (Narrow(row.name) == name) return Narrow(row.value);
    }
    return "<no row>";
}

}  // namespace tvx::test
