// tavro-cli dump: the document as rows of 16 bytes.

#include "document/EditableDocument.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <cstdio>
#include <ostream>

namespace tvx::cli {
namespace {

constexpr std::uint64_t kRowBytes = 16;

std::string OffsetText(std::uint64_t offset, std::uint64_t documentSize) {
    char text[24];
    std::snprintf(text, sizeof text, documentSize < (std::uint64_t{1} << 32) ? "%08llX:" : "%016llX:",
                  static_cast<unsigned long long>(offset));
    return text;
}

int RunDump(CommandContext& context) {
    std::optional<std::u16string> path;
    std::uint64_t offset = 0;
    std::optional<std::uint64_t> length;
    bool tsv = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::u16string& arg = context.args[i];
        const bool hasValue = i + 1 < context.args.size();
        if (arg == u"--tsv") {
            tsv = true;
        } else if (arg == u"--offset" && hasValue) {
            const auto value = ParseHexNumber(context.args[++i]);
            if (!value) return UsageError(context, kDumpCommand, "invalid offset");
            offset = *value;
        } else if (arg == u"--length" && hasValue) {
            length = ParseDecimal(context.args[++i]);
            if (!length) return UsageError(context, kDumpCommand, "invalid length");
        } else if (!path && !arg.starts_with(u"--")) {
            path = arg;
        } else {
            return UsageError(context, kDumpCommand, "unexpected argument '" + Narrow(arg) + "'");
        }
    }
    if (!path) return UsageError(context, kDumpCommand, "expected a file");

    EditableDocument document;
    if (!document.File().Open(*path)) {
        context.err << "tavro-cli: cannot open '" << Narrow(*path) << "'\n";
        return kExitFailure;
    }
    const std::uint64_t size = document.GetSize();
    const std::uint64_t end = length && *length < size - std::min(offset, size) ? offset + *length : size;
    const char separator = tsv ? '\t' : ' ';
    for (std::uint64_t row = offset; row < end; row += kRowBytes) {
        const ByteBlock block = document.ReadBytes(row, std::min(kRowBytes, end - row));
        if (block.bytes.empty()) {
            context.err << "tavro-cli: cannot read at offset " << OffsetText(row, size) << "\n";
            return kExitFailure;
        }
        context.out << OffsetText(row, size);
        for (std::uint8_t byte : block.bytes) {
            char cell[4];
            std::snprintf(cell, sizeof cell, "%02X", byte);
            context.out << separator << cell;
        }
        context.out << '\n';
    }
    return kExitOk;
}

}  // namespace

const Command kDumpCommand{"dump", "FILE [--offset HEX] [--length N] [--tsv]",
                           "Prints FILE as rows of 16 bytes from OFFSET (hexadecimal), LENGTH bytes (decimal) long; "
                           "--tsv separates the fields with tabs.",
                           RunDump};

}  // namespace tvx::cli
