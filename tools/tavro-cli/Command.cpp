#include "tools/tavro-cli/Command.h"

#include "document/EditableDocument.h"
#include "platform/File.h"
#include "platform/FileKind.h"
#include "platform/Utf8.h"
#include "tools/tavro-cli/TerminalText.h"

#include <cstdio>
#include <ostream>

namespace tvx::cli {
namespace {

bool IsHelp(const std::u16string& arg) { return arg == u"-h" || arg == u"--help"; }

bool TakesValue(const Command& command, const std::u16string& arg) {
    const std::string options = std::string(" ") + command.valueOptions;
    return options.find(" " + platform::EncodeUtf8(arg) + " ") != std::string::npos;
}

std::string SystemReason() {
    const std::u16string reason = platform::SystemErrorText(platform::LastError());
    return reason.empty() ? "error " + std::to_string(platform::LastError()) : TerminalText(reason);
}

}  // namespace

bool AsksForHelp(const Command& command, const std::vector<std::u16string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == u"--") return false;
        if (IsHelp(args[i])) return true;
        if (TakesValue(command, args[i])) ++i;
    }
    return false;
}

bool ArgumentReader::Next() {
    ++index_;
    if (!operandsOnly_ && index_ < args_.size() && args_[index_] == u"--") {
        operandsOnly_ = true;
        ++index_;
    }
    return index_ < args_.size();
}

bool ArgumentReader::IsOption() const {
    const std::u16string& arg = Current();
    return !operandsOnly_ && arg.size() > 1 && arg[0] == u'-';
}

const std::u16string* ArgumentReader::Value() {
    if (index_ + 1 >= args_.size()) return nullptr;
    return &args_[++index_];
}

int UsageError(CommandContext& context, const Command& command, const std::string& message) {
    context.err << "tavro-cli: " << message << "\nusage: tavro-cli " << command.name << " " << command.usage << "\n";
    return kExitUsage;
}

int Failure(CommandContext& context, const std::string& message) {
    context.err << "tavro-cli: " << message << "\n";
    return kExitFailure;
}

int OffsetPastEnd(CommandContext& context, std::uint64_t offset, std::uint64_t size) {
    return Failure(context, "offset " + OffsetText(offset) + " is past the end of the file (" + std::to_string(size) +
                                " bytes)");
}

std::string Quoted(const std::u16string& text) { return "'" + TerminalText(text) + "'"; }

std::string OffsetText(std::uint64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

bool OpenDocument(CommandContext& context, const std::u16string& path, EditableDocument& document) {
    const std::string cannot = "cannot open " + Quoted(path) + ": ";
    switch (platform::QueryFileKind(path)) {
    case platform::FileKind::Unavailable:
        (void)Failure(context, cannot + SystemReason());
        return false;
    case platform::FileKind::Directory:
        (void)Failure(context, cannot + "it is a directory");
        return false;
    case platform::FileKind::Other:
        (void)Failure(context, cannot + "not a regular file (a pipe, a device or a socket)");
        return false;
    case platform::FileKind::Regular:
        break;
    }
    if (document.File().Open(path)) return true;
    (void)Failure(context, cannot + SystemReason());
    return false;
}

}  // namespace tvx::cli
