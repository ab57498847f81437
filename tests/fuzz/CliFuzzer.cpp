// libFuzzer target: tavro-cli's commands run in process on arguments from the input, with
// every file they name in a scratch folder. The first byte chooses the command (dump, find,
// inspect, struct, patch or replace) and whether the file to edit exists; then come the file's
// bytes, the struct pattern's text and the arguments, separated by NUL bytes. Every command
// ends with one of its exit codes and says why when it fails (find and replace may just find
// nothing), an edit that fails leaves the file as it was, and no save leaves a temporary file.

#include "platform/Utf8.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/tavro-cli/Command.h"

#include <sstream>
#include <vector>

namespace {

using tvx::fuzz::Require;

constexpr std::size_t kMaxArguments = 12;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path dataFile = tvx::fuzz::ScratchFolder() / "data.bin";
    static const std::filesystem::path patternFile = tvx::fuzz::ScratchFolder() / "pattern.tvsd";
    const tvx::cli::Command* const commands[] = {&tvx::cli::kDumpCommand, &tvx::cli::kFindCommand,
                                                 &tvx::cli::kInspectCommand, &tvx::cli::kStructCommand,
                                                 &tvx::cli::kPatchCommand, &tvx::cli::kReplaceCommand,
                                                 &tvx::cli::kHashCommand};

    tvx::fuzz::Input input(data, size);
    const std::uint8_t choice = input.Byte();
    const tvx::cli::Command& command = *commands[(choice & 7) % std::size(commands)];
    const bool edits = &command == &tvx::cli::kPatchCommand || &command == &tvx::cli::kReplaceCommand;
    const bool editsMissingFile = edits && (choice & 8) != 0;
    std::filesystem::remove(dataFile);
    const std::string bytes(input.UntilNul());
    if (!editsMissingFile) tvx::fuzz::WriteFile(dataFile, bytes);
    std::vector<std::u16string> args;
    if (&command == &tvx::cli::kStructCommand) {
        tvx::fuzz::WriteFile(patternFile, input.UntilNul());
        args.push_back(patternFile.u16string());
    }
    args.push_back(dataFile.u16string());
    while (!input.Empty() && args.size() < kMaxArguments) args.push_back(tvx::platform::DecodeUtf8(input.UntilNul()));

    std::ostringstream out, err;
    tvx::cli::CommandContext context{args, out, err};
    const int exitCode = command.run(context);
    Require(exitCode == tvx::cli::kExitOk || exitCode == tvx::cli::kExitFailure || exitCode == tvx::cli::kExitUsage);
    const bool mayFindNothing = &command == &tvx::cli::kFindCommand || &command == &tvx::cli::kReplaceCommand;
    if (exitCode != tvx::cli::kExitOk && !(mayFindNothing && exitCode == tvx::cli::kExitFailure))
        Require(!err.str().empty());
    if (edits && exitCode != tvx::cli::kExitOk) {
        Require(std::filesystem::exists(dataFile) != editsMissingFile);
        if (!editsMissingFile) Require(tvx::fuzz::ReadFile(dataFile) == bytes);
    }
    // No temporary file of a save stays behind.
    for (const auto& entry : std::filesystem::directory_iterator(tvx::fuzz::ScratchFolder()))
        Require(entry.path() == dataFile || entry.path() == patternFile);
    return 0;
}
