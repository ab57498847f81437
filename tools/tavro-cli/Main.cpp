// tavro-cli: the editor's core from the command line.

#include "platform/CommandLine.h"
#include "platform/Interrupt.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/TerminalText.h"

#include <iostream>
#include <iterator>

namespace tvx::cli {
namespace {

const Command* const kCommands[] = {
    &kDumpCommand,
    &kFindCommand,
    &kHashCommand,
    &kInspectCommand,
    &kPatchCommand,
    &kReplaceCommand,
    &kSettingsCommand,
    &kStructCommand,
};

constexpr const char* kOutputNote =
    "Output is UTF-8; control characters, undecodable bytes and invisible format characters in names and "
    "values (--tsv fields too) are written as \\xNN or \\u{NNNN}. \"--\" ends the options.\n";

void PrintHelp(std::ostream& out) {
    out << "usage: tavro-cli COMMAND ARGS...\n\ncommands:\n";
    for (const Command* command : kCommands)
        out << "  " << command->name << " " << command->usage << "\n      " << command->summary << "\n";
    out << "\n" << kOutputNote;
}

}  // namespace

int Main(int argc, char** argv) {
    platform::CatchInterrupts();  // a save stops cleanly on Ctrl+C and SIGTERM
    std::vector<std::u16string> args = platform::CommandLineArguments(argc, argv);
    if (args.size() < 2) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    const std::u16string& name = args[1];
    if (name == u"--help" || name == u"-h" || name == u"help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    for (const Command* command : kCommands) {
        if (name != std::u16string(command->name, command->name + std::char_traits<char>::length(command->name)))
            continue;
        CommandContext context{{args.begin() + 2, args.end()}, std::cout, std::cerr};
        if (AsksForHelp(*command, context.args)) {
            std::cout << "usage: tavro-cli " << command->name << " " << command->usage << "\n"
                      << command->summary << "\n"
                      << kOutputNote;
            return kExitOk;
        }
        return command->run(context);
    }
    std::cerr << "tavro-cli: unknown command " << Quoted(name) << "\n";
    PrintHelp(std::cerr);
    return kExitUsage;
}

}  // namespace tvx::cli

int main(int argc, char** argv) { return tvx::cli::Main(argc, argv); }
