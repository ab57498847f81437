// tavro-cli struct: a struct pattern laid over a file, as the Struct View shows it.

#include "document/EditableDocument.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace tvx::cli {
namespace {

// The pattern language's texts end lines with CR LF; a terminal wants LF.
std::string TerminalText(const std::u16string& text) {
    std::string narrow = Narrow(text);
    std::erase(narrow, '\r');
    return narrow;
}

// Characters on screen: every code point counts one.
std::size_t DisplayWidth(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void PrintTable(std::ostream& out, const std::vector<StructViewRow>& rows) {
    std::vector<std::array<std::string, 4>> cells = {{"Name", "Offset", "Value", "Size"}};
    for (const StructViewRow& row : rows) cells.push_back({Narrow(row.name), Narrow(row.offset), Narrow(row.value), Narrow(row.size)});
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
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::u16string& arg = context.args[i];
        const bool hasValue = i + 1 < context.args.size();
        bool second = false;
        if (arg == u"--tsv") {
            tsv = true;
        } else if (arg == u"--offset" && hasValue) {
            const auto value = ParseHexNumber(context.args[++i]);
            if (!value) return UsageError(context, kStructCommand, "invalid offset");
            offset = *value;
        } else if (arg == u"--format" && hasValue) {
            if (!ChooseWord(context.args[++i], u"hex", u"ascii", second)) return UsageError(context, kStructCommand, "invalid format");
            format.byteArrayFormat = second ? ByteArrayFormat::Ascii : ByteArrayFormat::Hex;
        } else if (arg == u"--endian" && hasValue) {
            if (!ChooseWord(context.args[++i], u"little", u"big", second)) return UsageError(context, kStructCommand, "invalid byte order");
            format.byteOrder = second ? ByteOrder::Big : ByteOrder::Little;
        } else if (arg == u"--base" && hasValue) {
            if (!ChooseWord(context.args[++i], u"hex", u"dec", second)) return UsageError(context, kStructCommand, "invalid base");
            format.numericBase = second ? NumericBase::Dec : NumericBase::Hex;
        } else if (paths.size() < 2 && !arg.starts_with(u"--")) {
            paths.push_back(arg);
        } else {
            return UsageError(context, kStructCommand, "unexpected argument '" + Narrow(arg) + "'");
        }
    }
    if (paths.size() != 2) return UsageError(context, kStructCommand, "expected a pattern file and a file");

    StructPatternFile pattern;
    std::u16string error;
    if (!LoadStructPatternFile(paths[0], pattern, error)) {
        context.err << "tavro-cli: " << Narrow(paths[0]) << ":\n" << TerminalText(error) << "\n";
        return kExitFailure;
    }
    EditableDocument document;
    if (!document.File().Open(paths[1])) {
        context.err << "tavro-cli: cannot open '" << Narrow(paths[1]) << "'\n";
        return kExitFailure;
    }

    // The bytes a Struct View request carries: fewer at the end of the file.
    StructEvalRequest request;
    request.baseOffset = offset;
    request.format = format;
    const std::uint64_t size = document.GetSize();
    const std::uint64_t wanted = std::min(StructRequestSize(pattern), size - std::min(offset, size));
    request.data = document.ReadBytes(offset, wanted).bytes;
    if (request.data.size() != wanted) {
        context.err << "tavro-cli: cannot read '" << Narrow(paths[1]) << "'\n";
        return kExitFailure;
    }
    const std::u16string summary = FormatPatternSummary(pattern);
    request.file = std::make_shared<const StructPatternFile>(std::move(pattern));
    const std::vector<StructViewRow> rows = BuildStructRows(request);

    if (tsv) {
        for (const StructViewRow& row : rows)
            context.out << Narrow(row.name) << '\t' << Narrow(row.offset) << '\t' << Narrow(row.value) << '\t'
                        << Narrow(row.size) << '\n';
        return kExitOk;
    }
    context.out << TerminalText(summary) << "\n\n";
    PrintTable(context.out, rows);
    return kExitOk;
}

}  // namespace

const Command kStructCommand{
    "struct", "PATTERN FILE [--offset HEX] [--format hex|ascii] [--endian little|big] [--base hex|dec] [--tsv]",
    "Lays the entry struct of the pattern file PATTERN (*.tvsd) over FILE at OFFSET (hexadecimal) and prints "
    "its summary and rows (name, offset, value, size); --tsv prints only the rows, separated by tabs.",
    RunStruct};

}  // namespace tvx::cli
