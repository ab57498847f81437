#pragma once
// One subcommand of tavro-cli, and what every command shares: reading its arguments, opening
// its file, and its messages.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace tvx {
class EditableDocument;
}

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
    const char* usage;          // argument synopsis, shown by --help and on usage errors
    const char* summary;        // one paragraph
    const char* valueOptions;   // the options that take a value, each followed by one space
    int (*run)(CommandContext& context);
};

// Whether -h or --help stands where an option may: before "--" and not as an option's value.
[[nodiscard]] bool AsksForHelp(const Command& command, const std::vector<std::u16string>& args);

// Walks a command's arguments. Before "--", an argument beginning with "-" (other than "-"
// alone) is an option; after it, every argument is an operand.
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::u16string>& args) : args_(args) {}
    // Moves to the next argument, passing over the first "--"; false at the end.
    [[nodiscard]] bool Next();
    [[nodiscard]] const std::u16string& Current() const { return args_[index_]; }
    [[nodiscard]] bool IsOption() const;
    // Takes the argument after the current option as its value; null when there is none.
    [[nodiscard]] const std::u16string* Value();

private:
    const std::vector<std::u16string>& args_;
    std::size_t index_ = static_cast<std::size_t>(-1);
    bool operandsOnly_ = false;
};

// Writes "tavro-cli: <message>" and the command's usage to err; returns kExitUsage.
int UsageError(CommandContext& context, const Command& command, const std::string& message);
// Writes "tavro-cli: <message>" to err; returns kExitFailure.
int Failure(CommandContext& context, const std::string& message);
// "offset 0x... is past the end of the file (N bytes)"; returns kExitFailure.
int OffsetPastEnd(CommandContext& context, std::uint64_t offset, std::uint64_t size);

// A file name or argument for a message: quoted, with terminal escapes (see TerminalText).
[[nodiscard]] std::string Quoted(const std::u16string& text);
// "0x" and capital hexadecimal digits.
[[nodiscard]] std::string OffsetText(std::uint64_t offset);

// Opens path into the (closed) document; on failure reports why (missing, a directory, not a
// regular file, the system's reason) and returns false. Pipes and devices are never opened.
[[nodiscard]] bool OpenDocument(CommandContext& context, const std::u16string& path, EditableDocument& document);

extern const Command kDumpCommand;
extern const Command kFindCommand;
extern const Command kHashCommand;
extern const Command kInspectCommand;
extern const Command kPatchCommand;
extern const Command kReplaceCommand;
extern const Command kSettingsCommand;
extern const Command kStructCommand;

}  // namespace tvx::cli
