// tavro-cli inspect: the Data Inspector's rows for the bytes at an offset.

#include "document/EditableDocument.h"
#include "inspector/InspectorLabels.h"
#include "inspector/InspectorRows.h"
#include "localization/StringTable.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace tvx::cli {
namespace {

// A character row shows a control character raw, as the inspector window does; here it is
// written as "\xNN" so that the file's bytes cannot drive the terminal. The row's "(U+...)"
// names the character anyway.
std::string Printable(const std::u16string& text) {
    std::u16string shown;
    for (const char16_t c : text) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            shown.append(escape, escape + 4);
        } else {
            shown += c;
        }
    }
    return Narrow(shown);
}

int RunInspect(CommandContext& context) {
    std::vector<std::u16string> positional;
    bool tsv = false;
    for (const std::u16string& arg : context.args) {
        if (arg == u"--tsv")
            tsv = true;
        else if (arg.starts_with(u"--") || positional.size() == 2)
            return UsageError(context, kInspectCommand, "unexpected argument '" + Narrow(arg) + "'");
        else
            positional.push_back(arg);
    }
    if (positional.size() < 2) return UsageError(context, kInspectCommand, "expected a file and an offset");
    const std::optional<std::uint64_t> offset = ParseHexNumber(positional[1]);
    if (!offset) return UsageError(context, kInspectCommand, "invalid offset '" + Narrow(positional[1]) + "'");

    EditableDocument document;
    if (!document.File().Open(positional[0])) {
        context.err << "tavro-cli: cannot open '" << Narrow(positional[0]) << "'\n";
        return kExitFailure;
    }
    const std::uint64_t size = document.GetSize();
    if (*offset > size) {
        context.err << "tavro-cli: offset " << Narrow(positional[1]) << " is past the end of the file (" << size
                    << " bytes)\n";
        return kExitFailure;
    }
    // At the very end there are no bytes, and every row is unavailable, as at the caret there.
    const ByteBlock block = document.ReadBytes(*offset, kInspectorByteCount);
    if (block.bytes.size() < std::min<std::uint64_t>(kInspectorByteCount, size - *offset)) {
        context.err << "tavro-cli: cannot read at offset " << Narrow(positional[1]) << "\n";
        return kExitFailure;
    }

    StringTable strings;
    strings.SetLanguage(Language::English);
    const InspectorLabels labels = LoadInspectorLabels(strings);
    const InspectorValues values = ComputeInspectorRows(block.bytes, InspectorUnavailableText(strings));
    std::size_t width = 0;
    for (const std::u16string& label : labels.rows) width = std::max(width, label.size());
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
        context.out << Printable(labels.rows[row]);
        if (tsv)
            context.out << '\t';
        else
            context.out << std::string(width - labels.rows[row].size() + 2, ' ');
        context.out << Printable(values[row]) << '\n';
    }
    return kExitOk;
}

}  // namespace

const Command kInspectCommand{"inspect", "FILE OFFSET [--tsv]",
                              "Prints the Data Inspector's rows for the bytes of FILE at OFFSET (hexadecimal): "
                              "the bit pattern, unsigned integers in both byte orders and the first character "
                              "in UTF-8 and UTF-16; --tsv separates label and value with a tab.",
                              RunInspect};

}  // namespace tvx::cli
