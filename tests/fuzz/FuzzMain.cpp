// libFuzzer's entry point, the same for every target: the input goes to the target's TestOneInput.

#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvx::fuzz::TestOneInput(tvx::fuzz::Input(data, size));
    return 0;
}
