// libFuzzer target: the document against the edit layer's model (tests/document/EditModel.h),
// with the model's choices taken from the input. The first choice is whether every edit keeps
// the bytes at their places, the next the length of the file's initial bytes, which follow;
// then each step is an action of the model (an edit, a read, an undo or redo, opening or closing
// a group, a save) checked against the model, which aborts on the first disagreement.

#include "document/EditableDocument.h"
#include "tests/document/EditModel.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path = tvx::fuzz::ScratchFolder() / "document.bin";
    tvx::fuzz::Input input(data, size);
    const bool keepPositions = input.Below(2) == 1;
    std::vector<std::uint8_t> initial(input.Below(256));
    for (auto& byte : initial) byte = static_cast<std::uint8_t>(input.Below(256));
    tvx::fuzz::WriteFile(path, std::string(initial.begin(), initial.end()));
    tvx::EditableDocument document;
    tvx::fuzz::Require(document.File().Open(path.u16string()));
    tvx::test::EditModel<tvx::fuzz::Input> model(document, path, initial, input, [](const std::string& what) {
        std::fprintf(stderr, "document differs from the model: %s\n", what.c_str());
        std::abort();
    });
    while (!input.Empty()) model.RandomStep(keepPositions, true);
    model.CheckAll();
    return 0;
}
