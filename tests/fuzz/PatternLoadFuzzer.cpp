// libFuzzer target: the bytes as a struct pattern file. Loading must fail with a message, or
// give an entry struct, a summary, and layouts whose fields tile their structs: they follow
// each other without gaps or overlaps and end at the struct's size.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tests/fuzz/FuzzSupport.h"

void tvx::fuzz::TestOneInput(Input input) {
    StructPatternFile file;
    std::u16string error;
    if (!LoadStructPatternBytes(input.Rest(), file, error)) return Require(!error.empty());
    Require(FindEntryLayout(file) != nullptr && !FormatPatternSummary(file).empty());
    for (const StructLayout& layout : file.structs) {
        std::uint64_t end = 0;
        for (const FieldLayout& field : layout.fields) {
            Require(field.offset == end && field.size <= UINT64_MAX - field.offset);
            Require(field.flexible ? field.size == 0 && field.count == 0
                                   : field.size == field.count * field.elementSize);
            Require(field.structName.empty() || FindEmbeddedLayout(file, field) != nullptr);
            end = field.offset + field.size;
        }
        Require(end == layout.size && layout.alignment >= 1);
        (void)EndsWithFlexibleArray(file, layout);
    }
}
