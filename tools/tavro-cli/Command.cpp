#include "tools/tavro-cli/Command.h"

#include "platform/Utf8.h"

#include <ostream>

namespace tvx::cli {

int UsageError(CommandContext& context, const Command& command, const std::string& message) {
    context.err << "tavro-cli: " << message << "\nusage: tavro-cli " << command.name << " " << command.usage << "\n";
    return kExitUsage;
}

std::string Narrow(const std::u16string& text) { return platform::EncodeUtf8(text); }

}  // namespace tvx::cli
