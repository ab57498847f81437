// libFuzzer target: the document against the edit layer's model (tests/document/EditModel.h),
// its choices taken from the input: whether every edit keeps the bytes at their places, the
// length of the file's initial bytes, which follow, then the model's steps (edits, reads, undo
// and redo, groups, saves), each checked against the model, which aborts on a disagreement.

#include "document/EditableDocument.h"
#include "tests/document/EditModel.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <vector>

void tvx::fuzz::TestOneInput(Input input) {
    static const std::filesystem::path path = ScratchFolder() / "document.bin";
    const bool keepPositions = input.Below(2) == 1;
    std::vector<std::uint8_t> initial(input.Below(256));
    for (auto& byte : initial) byte = static_cast<std::uint8_t>(input.Below(256));
    WriteFile(path, std::string(initial.begin(), initial.end()));
    EditableDocument document;
    Require(document.File().Open(path.u16string()));
    test::EditModel<Input> model(document, path, initial, input, [](const std::string& what) {
        std::fprintf(stderr, "document differs from the model: %s\n", what.c_str());
        std::abort();
    });
    while (!input.Empty()) model.RandomStep(keepPositions, true);
    model.CheckAll();
}
