// libFuzzer target: a struct pattern's text, a NUL, one byte choosing the base offset, then the
// bytes to lay the entry struct over. Every value format evaluates within the row limit, with
// one offset per row and value texts of bounded length, whatever bytes are missing.

#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::fuzz::Input input(data, size);
    auto file = std::make_shared<tvx::StructPatternFile>();
    std::u16string error;
    if (!tvx::LoadStructPatternBytes(input.UntilNul(), *file, error)) return 0;

    tvx::StructEvalRequest request;
    // Near the top of the address space, offsets of later fields pass 2^64.
    request.baseOffset = (input.Byte() & 1) != 0 ? UINT64_MAX - 16 : 0;
    const std::string_view bytes = input.Rest().substr(0, tvx::StructRequestSize(*file));
    request.data.assign(bytes.begin(), bytes.end());
    request.file = file;
    for (unsigned format = 0; format < 8; ++format) {
        request.format = {static_cast<tvx::ByteArrayFormat>(format & 1), static_cast<tvx::ByteOrder>(format >> 1 & 1),
                          static_cast<tvx::NumericBase>(format >> 2 & 1)};
        const auto rows = tvx::BuildStructRows(request);
        tvx::fuzz::Require(rows.size() <= tvx::kMaxStructRows + 1);
        for (const tvx::StructViewRow& row : rows) tvx::fuzz::Require(row.value.size() <= 256 && !row.offset.empty());
    }
    return 0;
}
