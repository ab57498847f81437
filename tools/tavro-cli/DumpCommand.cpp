// tavro-cli dump: the document as rows of 16 bytes.

#include "document/EditableDocument.h"
#include "hexview/RowCells.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <ostream>

namespace tvx::cli {
namespace {

constexpr std::uint64_t kRowBytes = 16;

std::optional<TextEncoding> ParseEncoding(const std::u16string& name) {
    if (name == u"ascii") return TextEncoding::Ascii;
    if (name == u"utf8") return TextEncoding::Utf8;
    if (name == u"utf16le") return TextEncoding::Utf16Le;
    if (name == u"utf16be") return TextEncoding::Utf16Be;
    return std::nullopt;
}

int RunDump(CommandContext& context) {
    std::optional<std::u16string> path;
    std::uint64_t offset = 0;
    std::optional<std::uint64_t> length;
    bool tsv = false;
    std::optional<TextEncoding> encoding;  // the text column is printed only when one is asked for
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
        } else if (arg == u"--encoding" && hasValue) {
            encoding = ParseEncoding(context.args[++i]);
            if (!encoding) return UsageError(context, kDumpCommand, "unknown encoding");
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
            context.err << "tavro-cli: cannot read at offset " << Narrow(FormatOffset(&document, row)) << "\n";
            return kExitFailure;
        }
        // The row as the editor's hex view composes it.
        const RowCells cells = BuildRowCells(&document, row, block.bytes, encoding.value_or(TextEncoding::Ascii));
        context.out << Narrow(cells.offsetText);
        for (const std::u16string& cell : cells.hexCells) context.out << separator << Narrow(cell);
        if (encoding) {
            // With --tsv every text cell is a field of its own, an empty one too.
            if (tsv) {
                for (const std::u16string& cell : cells.textCells) context.out << '\t' << Narrow(cell);
            } else {
                std::u16string text;
                for (const std::u16string& cell : cells.textCells) text += cell;
                context.out << "  " << Narrow(text);
            }
        }
        context.out << '\n';
    }
    return kExitOk;
}

}  // namespace

const Command kDumpCommand{"dump", "FILE [--offset HEX] [--length N] [--tsv] [--encoding ascii|utf8|utf16le|utf16be]",
                           "Prints FILE as rows of 16 bytes from OFFSET (hexadecimal), LENGTH bytes (decimal) long; "
                           "--tsv separates the fields with tabs; --encoding adds the text column as the editor "
                           "decodes it (with --tsv, one field per byte).",
                           RunDump};

}  // namespace tvx::cli
