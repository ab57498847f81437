#include "platform/CommandLine.h"

#include "platform/Utf8.h"

namespace tvx::platform {

std::vector<std::u16string> CommandLineArguments(int argc, char** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(DecodeUtf8Bytes(argv[i]));
    return arguments;
}

}  // namespace tvx::platform
