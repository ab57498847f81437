// libFuzzer target: a pattern file's text, then (after the first NUL byte) bytes to lay the
// entry struct over. Loading must fail cleanly or give layouts that tile their structs, and
// evaluating them must stay within its limits.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Fields follow each other without gaps or overlaps and end at the struct's size.
void CheckLayout(const tvx::StructPatternFile& file, const tvx::StructLayout& layout) {
    std::uint64_t end = 0;
    for (const tvx::FieldLayout& field : layout.fields) {
        Require(field.offset == end);
        Require(field.size <= UINT64_MAX - field.offset);
        Require(field.flexible ? field.size == 0 && field.count == 0 : field.size == field.count * field.elementSize);
        if (!field.structName.empty()) Require(tvx::FindEmbeddedLayout(file, field) != nullptr);
        end = field.offset + field.size;
    }
    Require(end == layout.size);
    Require(layout.alignment >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view text = input.substr(0, split);

    tvx::StructPatternFile file;
    std::u16string error;
    if (!tvx::LoadStructPatternBytes(text, file, error)) {
        Require(!error.empty());
        return 0;
    }
    Require(tvx::FindEntryLayout(file) != nullptr);
    for (const tvx::StructLayout& layout : file.structs) {
        CheckLayout(file, layout);
        (void)tvx::EndsWithFlexibleArray(file, layout);
    }
    Require(!tvx::FormatPatternSummary(file).empty());

    tvx::StructEvalRequest request;
    if (split != std::string_view::npos) {
        const std::string_view rest = input.substr(split + 1);
        if (!rest.empty()) {
            const auto choice = static_cast<std::uint8_t>(rest[0]);
            request.format = {static_cast<tvx::ByteArrayFormat>(choice & 1), static_cast<tvx::ByteOrder>((choice >> 1) & 1),
                              static_cast<tvx::NumericBase>((choice >> 2) & 1)};
            request.baseOffset = (choice & 8) != 0 ? UINT64_MAX - 16 : 0;
            const std::uint64_t wanted = tvx::StructRequestSize(file);
            const std::string_view bytes = rest.substr(1, wanted < rest.size() ? wanted : rest.size());
            request.data.assign(bytes.begin(), bytes.end());
        }
    }
    request.file = std::make_shared<const tvx::StructPatternFile>(std::move(file));
    const auto rows = tvx::BuildStructRows(request);
    Require(rows.size() <= tvx::kMaxStructRows + 1);
    for (const tvx::StructViewRow& row : rows) Require(row.value.size() <= 256 && !row.offset.empty());
    return 0;
}
