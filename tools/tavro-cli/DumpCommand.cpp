// tavro-cli dump: the document as rows of 16 bytes.

#include "document/EditableDocument.h"
#include "hexview/RowCells.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/TerminalText.h"

#include <algorithm>

namespace tvx::cli {
namespace {

constexpr std::uint64_t kRowBytes = 16;
constexpr std::uint64_t kReadBlock = 1 << 20;  // a multiple of kRowBytes
constexpr char kHexDigits[] = "0123456789ABCDEF";

struct DumpOptions {
    std::optional<std::u16string> path;
    std::uint64_t offset = 0;
    std::optional<std::uint64_t> length;
    bool tsv = false;
    std::optional<TextEncoding> encoding;  // the text column is printed only when one is asked for
};

int ParseOptions(CommandContext& context, DumpOptions& options) {
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        if (!reader.IsOption()) {
            if (options.path) return UsageError(context, kDumpCommand, "unexpected argument " + Quoted(arg));
            options.path = arg;
        } else if (arg == u"--tsv") {
            options.tsv = true;
        } else if (arg == u"--offset" || arg == u"--length" || arg == u"--encoding") {
            const std::u16string* value = reader.Value();
            if (value == nullptr) return UsageError(context, kDumpCommand, "expected a value after " + Quoted(arg));
            if (arg == u"--offset") {
                const auto offset = ParseHexNumber(*value);
                if (!offset) return UsageError(context, kDumpCommand, "invalid offset " + Quoted(*value));
                options.offset = *offset;
            } else if (arg == u"--length") {
                options.length = ParseDecimal(*value);
                if (!options.length) return UsageError(context, kDumpCommand, "invalid length " + Quoted(*value));
            } else {
                options.encoding = ParseEncodingName(*value);
                if (!options.encoding) return UsageError(context, kDumpCommand, "unknown encoding " + Quoted(*value));
            }
        } else {
            return UsageError(context, kDumpCommand, "unexpected argument " + Quoted(arg));
        }
    }
    if (!options.path) return UsageError(context, kDumpCommand, "expected a file");
    return kExitOk;
}

// Offset and hexadecimal cells, formatted straight into the output buffer.
void AppendHexRow(std::string& out, std::uint64_t row, int digits, const std::uint8_t* bytes, std::size_t count,
                  char separator) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHexDigits[(row >> shift) & 0x0F];
    out += ':';
    for (std::size_t i = 0; i < count; ++i) {
        const char cell[3] = {separator, kHexDigits[bytes[i] >> 4], kHexDigits[bytes[i] & 0x0F]};
        out.append(cell, 3);
    }
}

// The text column as the editor's hex view decodes the row.
void AppendTextColumn(TerminalWriter& writer, const EditableDocument& document, std::uint64_t row,
                      std::span<const std::uint8_t> bytes, TextEncoding encoding, bool tsv) {
    const RowCells cells = BuildRowCells(&document, row, bytes, encoding);
    if (tsv) {
        // With --tsv every text cell is a field of its own, an empty one too.
        for (const std::u16string& cell : cells.textCells) {
            writer.Raw('\t');
            writer.Text(cell);
        }
        return;
    }
    std::u16string text;
    for (const std::u16string& cell : cells.textCells) text += cell;
    writer.Raw("  ");
    writer.Text(text);
}

int RunDump(CommandContext& context) {
    DumpOptions options;
    if (const int code = ParseOptions(context, options); code != kExitOk) return code;

    EditableDocument document;
    if (!OpenDocument(context, *options.path, document)) return kExitFailure;
    const std::uint64_t size = document.GetSize();
    if (options.offset > size) return OffsetPastEnd(context, options.offset, size);
    const std::uint64_t rest = size - options.offset;
    const std::uint64_t end = options.offset + (options.length ? std::min(*options.length, rest) : rest);
    const int digits = static_cast<int>(FormatOffset(&document, 0).size() - 1);
    const char separator = options.tsv ? '\t' : ' ';

    TerminalWriter writer(context.out);
    for (std::uint64_t blockStart = options.offset; blockStart < end; blockStart += kReadBlock) {
        const std::uint64_t wanted = std::min(kReadBlock, end - blockStart);
        const ByteBlock block = document.ReadBytes(blockStart, wanted);
        if (block.bytes.size() != wanted) {
            writer.Flush();
            return Failure(context, "cannot read at offset " + OffsetText(blockStart + block.bytes.size()));
        }
        for (std::size_t at = 0; at < block.bytes.size(); at += kRowBytes) {
            const std::size_t count = std::min<std::size_t>(kRowBytes, block.bytes.size() - at);
            AppendHexRow(writer.Buffer(), blockStart + at, digits, block.bytes.data() + at, count, separator);
            if (options.encoding)
                AppendTextColumn(writer, document, blockStart + at, {block.bytes.data() + at, count}, *options.encoding,
                                 options.tsv);
            writer.Raw('\n');
        }
    }
    return kExitOk;
}

}  // namespace

const Command kDumpCommand{"dump", "FILE [--offset HEX] [--length N] [--tsv] [--encoding ascii|utf8|utf16le|utf16be]",
                           "Prints FILE as rows of 16 bytes from OFFSET (hexadecimal; the size itself gives an empty "
                           "dump), LENGTH bytes (decimal) long; --tsv separates the fields with tabs; --encoding adds "
                           "the text column as the editor decodes it (with --tsv, one field per byte).",
                           "--offset --length --encoding ", RunDump};

}  // namespace tvx::cli
