// tavro-cli struct: a struct pattern laid over a file, as the Struct View shows it.

#include "document/EditableDocument.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/TerminalText.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace tvx::cli {
namespace {

// The pattern language's texts end lines with CR LF; a terminal wants LF. Each line is
// escaped on its own, so an excerpt of a hostile pattern line cannot drive the terminal.
std::string TerminalLines(const std::u16string& text) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(u'\n', start);
        std::u16string_view line = std::u16string_view(text).substr(start, end == std::u16string::npos ? end : end - start);
        if (line.ends_with(u'\r')) line.remove_suffix(1);
        AppendTerminalText(out, line);
        if (end == std::u16string::npos) return out;
        out += '\n';
        start = end + 1;
    }
}

// Characters on screen: every code point counts one.
std::size_t DisplayWidth(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void PrintTable(std::ostream& out, const std::vector<StructViewRow>& rows) {
    std::vector<std::array<std::string, 4>> cells = {{"Name", "Offset", "Value", "Size"}};
    for (const StructViewRow& row : rows) cells.push_back({TerminalText(row.name), TerminalText(row.offset), TerminalText(row.value), TerminalText(row.size)});
    std::array<std::size_t, 4> widths{};
    for (const auto& line : cells)
        for (std::size_t i = 0; i < 4; ++i) widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    for (const auto& line : cells) {
        for (std::size_t i = 0; i < 3; ++i) out << line[i] << std::string(widths[i] - DisplayWidth(line[i]) + 2, ' ');
        out << line[3] << '\n';
    }
}

// Reads the value of an option taking one of two words; false for any other word.
bool ChooseWord(const std::u16string& value, const char16_t* first, const char16_t* second, bool& isSecond) {
    if (value != first && value != second) return false;
    isSecond = value == second;
    return true;
}

int RunStruct(CommandContext& context) {
    std::vector<std::u16string> paths;
    std::uint64_t offset = 0;
    StructValueFormat format;
    bool tsv = false;
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        bool second = false;
        if (!reader.IsOption()) {
            if (paths.size() == 2) return UsageError(context, kStructCommand, "unexpected argument " + Quoted(arg));
            paths.push_back(arg);
            continue;
        }
        if (arg == u"--tsv") {
            tsv = true;
            continue;
        }
        if (arg != u"--offset" && arg != u"--format" && arg != u"--endian" && arg != u"--base")
            return UsageError(context, kStructCommand, "unexpected argument " + Quoted(arg));
        const std::u16string* value = reader.Value();
        if (value == nullptr) return UsageError(context, kStructCommand, "expected a value after " + Quoted(arg));
        if (arg == u"--offset") {
            const auto parsed = ParseHexNumber(*value);
            if (!parsed) return UsageError(context, kStructCommand, "invalid offset " + Quoted(*value));
            offset = *parsed;
        } else if (arg == u"--format") {
            if (!ChooseWord(*value, u"hex", u"ascii", second)) return UsageError(context, kStructCommand, "invalid format " + Quoted(*value));
            format.byteArrayFormat = second ? ByteArrayFormat::Ascii : ByteArrayFormat::Hex;
        } else if (arg == u"--endian") {
            if (!ChooseWord(*value, u"little", u"big", second)) return UsageError(context, kStructCommand, "invalid byte order " + Quoted(*value));
            format.byteOrder = second ? ByteOrder::Big : ByteOrder::Little;
        } else {
            if (!ChooseWord(*value, u"hex", u"dec", second)) return UsageError(context, kStructCommand, "invalid base " + Quoted(*value));
            format.numericBase = second ? NumericBase::Dec : NumericBase::Hex;
        }
    }
    if (paths.size() != 2) return UsageError(context, kStructCommand, "expected a pattern file and a file");

    StructPatternFile pattern;
    std::u16string error;
    if (!LoadStructPatternFile(paths[0], pattern, error)) {
        context.err << "tavro-cli: " << TerminalText(paths[0]) << ":\n" << TerminalLines(error) << "\n";
        return kExitFailure;
    }
    EditableDocument document;
    if (!OpenDocument(context, paths[1], document)) return kExitFailure;
    const std::uint64_t size = document.GetSize();
    if (offset > size) return OffsetPastEnd(context, offset, size);

    // The bytes a Struct View request carries: fewer at the end of the file, and never more
    // than kMaxStructRequestBytes.
    StructEvalRequest request;
    request.baseOffset = offset;
    request.format = format;
    const std::uint64_t wanted = std::min(StructRequestSize(pattern), size - offset);
    request.data = document.ReadBytes(offset, wanted).bytes;
    if (request.data.size() != wanted) return Failure(context, "cannot read " + Quoted(paths[1]) + " at offset " + OffsetText(offset + request.data.size()));
    const std::u16string summary = FormatPatternSummary(pattern);
    request.file = std::make_shared<const StructPatternFile>(std::move(pattern));
    const std::vector<StructViewRow> rows = BuildStructRows(request);

    if (tsv) {
        for (const StructViewRow& row : rows)
            context.out << TerminalText(row.name) << '\t' << TerminalText(row.offset) << '\t' << TerminalText(row.value)
                        << '\t' << TerminalText(row.size) << '\n';
        return kExitOk;
    }
    context.out << TerminalLines(summary) << "\n\n";
    PrintTable(context.out, rows);
    return kExitOk;
}

}  // namespace

const Command kStructCommand{
    "struct", "PATTERN FILE [--offset HEX] [--format hex|ascii] [--endian little|big] [--base hex|dec] [--tsv]",
    "Lays the entry struct of the pattern file PATTERN (*.tvsd) over FILE at OFFSET (hexadecimal) and prints "
    "its summary and rows (name, offset, value, size); --tsv prints only the rows, separated by tabs. At most "
    "16 MiB from OFFSET are read: values beyond show as unavailable.",
    "--offset --format --endian --base ", RunStruct};

}  // namespace tvx::cli
