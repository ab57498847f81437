// tavro-cli replace: the editor's Replace All from the command line.

#include "document/EditableDocument.h"
#include "search/ReplaceAll.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/QueryBytes.h"

#include <ostream>
#include <tuple>

namespace tvx::cli {
namespace {

struct ReplaceOptions {
    std::u16string path;
    SearchQueryKind kind = SearchQueryKind::Hex;
    std::u16string query;
    SearchQueryKind replacementKind = SearchQueryKind::Hex;
    std::u16string replacement;
    TextEncoding encoding = TextEncoding::Utf8;
    std::uint64_t from = 0;
    std::uint64_t limit = UINT64_MAX;
};

// Returns kExitOk or the exit code of a usage error already reported.
int ParseOptions(CommandContext& context, ReplaceOptions& options) {
    bool hasPath = false, hasQuery = false, hasReplacement = false, hasEncoding = false;
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        if (!reader.IsOption()) {
            if (hasPath) return UsageError(context, kReplaceCommand, "unexpected argument " + Quoted(arg));
            options.path = arg;
            hasPath = true;
            continue;
        }
        const bool query = arg == u"--hex" || arg == u"--text";
        const bool replacement = arg == u"--with-hex" || arg == u"--with-text";
        if (!query && !replacement && arg != u"--encoding" && arg != u"--from" && arg != u"--max")
            return UsageError(context, kReplaceCommand, "unexpected argument " + Quoted(arg));
        const std::u16string* value = reader.Value();
        if (value == nullptr) return UsageError(context, kReplaceCommand, "expected a value after " + Quoted(arg));
        if (query || replacement) {
            bool& seen = query ? hasQuery : hasReplacement;
            if (seen)
                return UsageError(context, kReplaceCommand,
                                  query ? "expected one query, --hex or --text"
                                        : "expected one replacement, --with-hex or --with-text");
            (query ? options.kind : options.replacementKind) =
                arg == u"--hex" || arg == u"--with-hex" ? SearchQueryKind::Hex : SearchQueryKind::Text;
            (query ? options.query : options.replacement) = *value;
            seen = true;
        } else if (arg == u"--encoding") {
            const auto encoding = ParseEncodingName(*value);
            if (!encoding) return UsageError(context, kReplaceCommand, "unknown encoding " + Quoted(*value));
            options.encoding = *encoding;
            hasEncoding = true;
        } else if (arg == u"--from") {
            const auto from = ParseHexNumber(*value);
            if (!from) return UsageError(context, kReplaceCommand, "invalid offset " + Quoted(*value));
            options.from = *from;
        } else {
            const auto limit = ParseDecimal(*value);
            if (!limit) return UsageError(context, kReplaceCommand, "invalid count " + Quoted(*value));
            options.limit = *limit;
        }
    }
    if (!hasPath || !hasQuery || !hasReplacement)
        return UsageError(context, kReplaceCommand,
                          "expected a file, --hex or --text, and --with-hex or --with-text");
    if (hasEncoding && options.kind == SearchQueryKind::Hex && options.replacementKind == SearchQueryKind::Hex)
        return UsageError(context, kReplaceCommand, "--encoding applies to --text and --with-text only");
    for (const auto& [kind, text, option, hexOption] :
         {std::tuple{options.kind, &options.query, "--text", "--hex"},
          std::tuple{options.replacementKind, &options.replacement, "--with-text", "--with-hex"}}) {
        if (const std::string refusal = TextQueryRefusal(kind, *text, option, hexOption); !refusal.empty())
            return UsageError(context, kReplaceCommand, refusal);
    }
    return kExitOk;
}

int RunReplace(CommandContext& context) {
    ReplaceOptions options;
    if (const int code = ParseOptions(context, options); code != kExitOk) return code;
    const std::optional<SearchPattern> pattern = QueryBytes(context, options.kind, options.query, options.encoding);
    if (!pattern) return kExitUsage;
    const PreparedReplacement replacement =
        PrepareReplacement(options.replacementKind, options.replacement, options.encoding);
    if (!replacement.bytes) {
        (void)RefusalFailure(context, replacement.errorKey);
        return kExitUsage;
    }

    EditableDocument document;
    if (!OpenDocument(context, options.path, document)) return kExitFailure;
    const std::uint64_t openedSize = document.GetSize();
    if (options.from > openedSize) return OffsetPastEnd(context, options.from, openedSize);
    const ReplaceOutcome outcome =
        ReplaceAll(document, *pattern, *replacement.bytes, options.from, openedSize, options.limit, {}, {});
    if (outcome.status == ReplaceStatus::Failed) return Failure(context, "cannot read " + Quoted(options.path));
    if (outcome.status == ReplaceStatus::NotFound) {
        context.out << "0\n";
        return kExitFailure;
    }
    if (const int code = SaveEdits(context, options.path, document, openedSize); code != kExitOk) return code;
    context.out << outcome.count << "\n";
    return kExitOk;
}

}  // namespace

const Command kReplaceCommand{
    "replace",
    "FILE (--hex \"41 42\" | --text STR) (--with-hex HEX | --with-text STR) [--encoding ascii|utf8|utf16le|utf16be] "
    "[--from HEX] [--max N]",
    "Replaces the matches of the query from --from (default 0) to the end, left to right and none overlapping the "
    "one before, at most N of them with --max, saves FILE and prints how many it replaced (0, and exit code 1, when nothing matches: the file is untouched). The query and the "
    "replacement are read as find reads its query; the replacement may have another length, or none "
    "(--with-hex \"\") to delete the matches. Exit code 2 for a query or replacement that is not valid.",
    "--hex --text --with-hex --with-text --encoding --from --max ", RunReplace};

}  // namespace tvx::cli
