// libFuzzer target: tavro-cli's commands run in process, their files in a scratch folder. The
// first byte chooses the command and whether the file to edit exists; then come the file's bytes,
// the struct pattern's text and the arguments, separated by NUL bytes. Every command ends with
// one of its exit codes and says why when it fails (find and replace may just find nothing), an
// edit that fails leaves the file as it was, and no save leaves a temporary file.

#include "tests/fuzz/FuzzSupport.h"
#include "tools/tavro-cli/Command.h"

#include <sstream>
#include <vector>

void tvx::fuzz::TestOneInput(Input input) {
    using namespace cli;
    constexpr std::size_t kMaxArguments = 12;
    static const auto dataFile = ScratchFolder() / "data.bin", patternFile = ScratchFolder() / "pattern.tvsd";
    const Command* const commands[] = {&kDumpCommand,  &kFindCommand,    &kInspectCommand, &kStructCommand,
                                       &kPatchCommand, &kReplaceCommand, &kHashCommand};
    const std::uint64_t choice = input.Below(16);
    const Command& command = *commands[(choice & 7) % std::size(commands)];
    const bool edits = &command == &kPatchCommand || &command == &kReplaceCommand;
    const bool editsMissingFile = edits && (choice & 8) != 0;
    std::filesystem::remove(dataFile);
    const std::string bytes(input.UntilNul());
    if (!editsMissingFile) WriteFile(dataFile, bytes);
    std::vector<std::u16string> args;
    if (&command == &kStructCommand) {
        WriteFile(patternFile, input.UntilNul());
        args.push_back(patternFile.u16string());
    }
    args.push_back(dataFile.u16string());
    while (!input.Empty() && args.size() < kMaxArguments) args.push_back(platform::DecodeUtf8(input.UntilNul()));

    std::ostringstream out, err;
    CommandContext context{args, out, err};
    const int exitCode = command.run(context);
    Require(exitCode == kExitOk || exitCode == kExitFailure || exitCode == kExitUsage);
    const bool mayFindNothing = &command == &kFindCommand || &command == &kReplaceCommand;
    Require(exitCode == kExitOk || (mayFindNothing && exitCode == kExitFailure) || !err.str().empty());
    if (edits && exitCode != kExitOk)  // the file as it was: missing, or holding the same bytes
        Require(editsMissingFile ? !exists(dataFile) : exists(dataFile) && ReadFile(dataFile) == bytes);
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder()))
        Require(entry.path() == dataFile || entry.path() == patternFile);
}
