// tavro-cli inspect: the Data Inspector's rows for the bytes at an offset.

#include "document/EditableDocument.h"
#include "inspector/InspectorLabels.h"
#include "inspector/InspectorRows.h"
#include "localization/StringTable.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/TerminalText.h"

#include <algorithm>
#include <ostream>

namespace tvx::cli {
namespace {

// A character row shows a control character raw, as the inspector window does; here it is
// written as an escape so that the file's bytes cannot drive the terminal. The row's "(U+...)"
// names the character anyway.

int RunInspect(CommandContext& context) {
    std::vector<std::u16string> positional;
    bool tsv = false;
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        if (reader.IsOption() && arg == u"--tsv")
            tsv = true;
        else if (reader.IsOption() || positional.size() == 2)
            return UsageError(context, kInspectCommand, "unexpected argument " + Quoted(arg));
        else
            positional.push_back(arg);
    }
    if (positional.size() < 2) return UsageError(context, kInspectCommand, "expected a file and an offset");
    const std::optional<std::uint64_t> offset = ParseHexNumber(positional[1]);
    if (!offset) return UsageError(context, kInspectCommand, "invalid offset " + Quoted(positional[1]));

    EditableDocument document;
    if (!OpenDocument(context, positional[0], document)) return kExitFailure;
    const std::uint64_t size = document.GetSize();
    if (*offset > size) return OffsetPastEnd(context, *offset, size);
    // At the very end there are no bytes, and every row is unavailable, as at the caret there.
    const ByteBlock block = document.ReadBytes(*offset, kInspectorByteCount);
    if (block.bytes.size() < std::min<std::uint64_t>(kInspectorByteCount, size - *offset))
        return Failure(context, "cannot read at offset " + OffsetText(*offset));

    StringTable strings;
    strings.SetLanguage(Language::English);
    const InspectorLabels labels = LoadInspectorLabels(strings);
    const InspectorValues values = ComputeInspectorRows(block.bytes, InspectorUnavailableText(strings));
    std::size_t width = 0;
    for (const std::u16string& label : labels.rows) width = std::max(width, label.size());
    for (std::size_t row = 0; row < kInspectorRowCount; ++row) {
        context.out << TerminalText(labels.rows[row]);
        if (tsv)
            context.out << '\t';
        else
            context.out << std::string(width - labels.rows[row].size() + 2, ' ');
        context.out << TerminalText(values[row]) << '\n';
    }
    return kExitOk;
}

}  // namespace

const Command kInspectCommand{"inspect", "FILE OFFSET [--tsv]",
                              "Prints the Data Inspector's rows for the bytes of FILE at OFFSET (hexadecimal): "
                              "the bit pattern, unsigned integers in both byte orders and the first character "
                              "in UTF-8 and UTF-16; --tsv separates label and value with a tab.",
                              "", RunInspect};

}  // namespace tvx::cli
