// libFuzzer target: the bytes as a struct pattern file. Loading must fail with a message, or
// give an entry struct, a summary, and layouts whose fields tile their structs: they follow
// each other without gaps or overlaps and end at the struct's size.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tests/fuzz/FuzzSupport.h"

using tvx::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::StructPatternFile file;
    std::u16string error;
    if (!tvx::LoadStructPatternBytes(tvx::fuzz::Input(data, size).Rest(), file, error)) {
        Require(!error.empty());
        return 0;
    }
    Require(tvx::FindEntryLayout(file) != nullptr && !tvx::FormatPatternSummary(file).empty());
    for (const tvx::StructLayout& layout : file.structs) {
        std::uint64_t end = 0;
        for (const tvx::FieldLayout& field : layout.fields) {
            Require(field.offset == end && field.size <= UINT64_MAX - field.offset);
            Require(field.flexible ? field.size == 0 && field.count == 0 : field.size == field.count * field.elementSize);
            Require(field.structName.empty() || tvx::FindEmbeddedLayout(file, field) != nullptr);
            end = field.offset + field.size;
        }
        Require(end == layout.size && layout.alignment >= 1);
        (void)tvx::EndsWithFlexibleArray(file, layout);
    }
    return 0;
}
