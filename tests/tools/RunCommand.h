#pragma once
// Runs a tavro-cli command in process and captures what it prints.

#include "platform/Utf8.h"
#include "tools/tavro-cli/Command.h"

#include <sstream>
#include <string>
#include <vector>

namespace tvx::test {

struct CommandOutput {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline CommandOutput RunCommand(const cli::Command& command, std::vector<std::u16string> args) {
    std::ostringstream out, err;
    cli::CommandContext context{std::move(args), out, err};
    CommandOutput result;
    result.exitCode = command.run(context);
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace tvx::test
