// libFuzzer target: a struct pattern's text, a NUL, one byte choosing the base offset, then the
// bytes to lay the entry struct over. Every value format evaluates within the row limit, with
// one offset per row and value texts of bounded length, whatever bytes are missing.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

void tvx::fuzz::TestOneInput(Input input) {
    auto file = std::make_shared<StructPatternFile>();
    std::u16string error;
    if (!LoadStructPatternBytes(input.UntilNul(), *file, error)) return;

    StructEvalRequest request;
    // Near the top of the address space, offsets of later fields pass 2^64.
    request.baseOffset = input.Below(2) == 1 ? UINT64_MAX - 16 : 0;
    const std::string_view bytes = input.Rest().substr(0, StructRequestSize(*file));
    request.data.assign(bytes.begin(), bytes.end());
    request.file = file;
    for (unsigned format = 0; format < 8; ++format) {
        request.format = {static_cast<ByteArrayFormat>(format & 1), static_cast<ByteOrder>(format >> 1 & 1),
                          static_cast<NumericBase>(format >> 2 & 1)};
        const auto rows = BuildStructRows(request);
        Require(rows.size() <= kMaxStructRows + 1);
        for (const StructViewRow& row : rows) Require(row.value.size() <= 256 && !row.offset.empty());
    }
}
