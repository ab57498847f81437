#pragma once
// One subcommand of tavro-cli.

#include <iosfwd>
#include <string>
#include <vector>

namespace tvx::cli {

// Exit codes shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct CommandContext {
    std::vector<std::u16string> args;  // the arguments after the command's name
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* usage;    // argument synopsis, shown by --help and on usage errors
    const char* summary;  // one line
    int (*run)(CommandContext& context);
};

// Writes "tavro-cli: <message>" and the command's usage to err; returns kExitUsage.
int UsageError(CommandContext& context, const Command& command, const std::string& message);

// UTF-16 to UTF-8 for printing.
std::string Narrow(const std::u16string& text);

extern const Command kDumpCommand;
extern const Command kFindCommand;
extern const Command kInspectCommand;
extern const Command kPatchCommand;
extern const Command kSettingsCommand;
extern const Command kStructCommand;

}  // namespace tvx::cli
