// libFuzzer target: tavro-cli's commands run in process on arguments from the input, with
// every file they name in a scratch folder. The first byte chooses the command (dump, find,
// inspect, struct or patch) and whether the file to patch exists; then come the file's bytes,
// the struct pattern's text and the arguments, separated by NUL bytes. Every command ends with
// one of its exit codes, says why when it fails, a patch that fails leaves the file as it was, and no save leaves a temporary file.

#include "platform/Utf8.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/tavro-cli/Command.h"

#include <sstream>
#include <vector>

namespace {

using tvx::fuzz::Require;

constexpr std::size_t kMaxArguments = 12;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path dataFile = tvx::fuzz::ScratchFolder() / "data.bin";
    static const std::filesystem::path patternFile = tvx::fuzz::ScratchFolder() / "pattern.tvsd";
    const tvx::cli::Command* const commands[] = {&tvx::cli::kDumpCommand, &tvx::cli::kFindCommand,
                                                 &tvx::cli::kInspectCommand, &tvx::cli::kStructCommand,
                                                 &tvx::cli::kPatchCommand};

    tvx::fuzz::Input input(data, size);
    const std::uint8_t choice = input.Byte();
    const tvx::cli::Command& command = *commands[(choice & 7) % std::size(commands)];
    const bool patchesMissingFile = (choice & 8) != 0;
    std::filesystem::remove(dataFile);
    const std::string bytes(input.UntilNul());
    if (!(&command == &tvx::cli::kPatchCommand && patchesMissingFile)) tvx::fuzz::WriteFile(dataFile, bytes);
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
    if (exitCode != tvx::cli::kExitOk && &command != &tvx::cli::kFindCommand) Require(!err.str().empty());
    if (&command == &tvx::cli::kPatchCommand && exitCode != tvx::cli::kExitOk) {
        Require(std::filesystem::exists(dataFile) != patchesMissingFile);
        if (!patchesMissingFile) Require(ReadFile(dataFile) == bytes);
    }
    // No temporary file of a save stays behind.
    for (const auto& entry : std::filesystem::directory_iterator(tvx::fuzz::ScratchFolder()))
        Require(entry.path() == dataFile || entry.path() == patternFile);
    return 0;
}
