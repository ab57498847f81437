// libFuzzer target: the bytes as a struct pattern file. Loading must fail with a message, or
// give an entry struct and layouts whose fields tile their structs.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tests/fuzz/FuzzSupport.h"

#include <string_view>

namespace {

using tvx::fuzz::Require;

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
    tvx::StructPatternFile file;
    std::u16string error;
    if (!tvx::LoadStructPatternBytes(std::string_view(reinterpret_cast<const char*>(data), size), file, error)) {
        Require(!error.empty());
        return 0;
    }
    Require(tvx::FindEntryLayout(file) != nullptr);
    for (const tvx::StructLayout& layout : file.structs) {
        CheckLayout(file, layout);
        (void)tvx::EndsWithFlexibleArray(file, layout);
    }
    Require(!tvx::FormatPatternSummary(file).empty());
    return 0;
}
