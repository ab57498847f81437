// tavro-cli: the editor's core from the command line.

#include "platform/CommandLine.h"
#include "tools/tavro-cli/Command.h"

#include <iostream>
#include <iterator>

namespace tvx::cli {
namespace {

const Command* const kCommands[] = {
    &kDumpCommand,
    &kFindCommand,
    &kInspectCommand,
    &kPatchCommand,
    &kSettingsCommand,
    &kStructCommand,
};

void PrintHelp(std::ostream& out) {
    out << "usage: tavro-cli COMMAND ARGS...\n\ncommands:\n";
    for (const Command* command : kCommands)
        out << "  " << command->name << " " << command->usage << "\n      " << command->summary << "\n";
}

}  // namespace

int Main(int argc, char** argv) {
    std::vector<std::u16string> args = platform::CommandLineArguments(argc, argv);
    if (args.size() < 2) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    const std::string name = Narrow(args[1]);
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    for (const Command* command : kCommands) {
        if (name != command->name) continue;
        CommandContext context{{args.begin() + 2, args.end()}, std::cout, std::cerr};
        for (const auto& arg : context.args) {
            if (arg == u"--help" || arg == u"-h") {
                std::cout << "usage: tavro-cli " << command->name << " " << command->usage << "\n"
                          << command->summary << "\n";
                return kExitOk;
            }
        }
        return command->run(context);
    }
    std::cerr << "tavro-cli: unknown command '" << name << "'\n";
    PrintHelp(std::cerr);
    return kExitUsage;
}

}  // namespace tvx::cli

int main(int argc, char** argv) { return tvx::cli::Main(argc, argv); }
