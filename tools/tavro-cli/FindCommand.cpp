// tavro-cli find: the editor's search from the command line.

#include "document/EditableDocument.h"
#include "localization/StringTable.h"
#include "search/SearchEngine.h"
#include "search/SearchRequest.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <cstdio>
#include <ostream>

namespace tvx::cli {
namespace {

struct FindOptions {
    std::u16string path;
    SearchQueryKind kind = SearchQueryKind::Hex;
    std::u16string query;
    TextEncoding encoding = TextEncoding::Utf8;
    std::uint64_t from = 0;
    bool backward = false;
    bool all = false;
};

std::string OffsetText(std::uint64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
    return text;
}

// Returns kExitOk or the exit code of a usage error already reported.
int ParseOptions(CommandContext& context, FindOptions& options) {
    bool hasPath = false, hasQuery = false, hasEncoding = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::u16string& arg = context.args[i];
        const bool hasValue = i + 1 < context.args.size();
        if ((arg == u"--hex" || arg == u"--text") && hasValue && !hasQuery) {
            options.kind = arg == u"--hex" ? SearchQueryKind::Hex : SearchQueryKind::Text;
            options.query = context.args[++i];
            hasQuery = true;
        } else if (arg == u"--encoding" && hasValue) {
            const auto encoding = ParseEncodingName(context.args[++i]);
            if (!encoding) return UsageError(context, kFindCommand, "unknown encoding '" + Narrow(context.args[i]) + "'");
            options.encoding = *encoding;
            hasEncoding = true;
        } else if (arg == u"--from" && hasValue) {
            const auto from = ParseHexNumber(context.args[++i]);
            if (!from) return UsageError(context, kFindCommand, "invalid offset '" + Narrow(context.args[i]) + "'");
            options.from = *from;
        } else if (arg == u"--backward") {
            options.backward = true;
        } else if (arg == u"--all") {
            options.all = true;
        } else if (!hasPath && !arg.starts_with(u"--")) {
            options.path = arg;
            hasPath = true;
        } else {
            return UsageError(context, kFindCommand, "unexpected argument '" + Narrow(arg) + "'");
        }
    }
    if (!hasPath || !hasQuery) return UsageError(context, kFindCommand, "expected a file and --hex or --text");
    if (hasEncoding && options.kind == SearchQueryKind::Hex)
        return UsageError(context, kFindCommand, "--encoding applies to --text only");
    return kExitOk;
}

int RunFind(CommandContext& context) {
    FindOptions options;
    if (const int code = ParseOptions(context, options); code != kExitOk) return code;

    const PreparedSearch prepared = PrepareSearch(options.kind, options.query, options.encoding);
    if (!prepared.pattern) {
        StringTable strings;
        strings.SetLanguage(Language::English);
        context.err << "tavro-cli: " << Narrow(strings.GetText(prepared.errorKey)) << "\n";
        return kExitUsage;
    }
    EditableDocument document;
    if (!document.File().Open(options.path)) {
        context.err << "tavro-cli: cannot open '" << Narrow(options.path) << "'\n";
        return kExitFailure;
    }

    bool any = false;
    std::uint64_t start = options.from;
    for (;;) {
        const SearchResult result = options.backward ? BackwardSearch(&document, *prepared.pattern, start, {}, {})
                                                     : ForwardSearch(&document, *prepared.pattern, start, {}, {});
        if (!result.found) break;
        context.out << OffsetText(result.position) << "\n";
        any = true;
        // The next match may overlap this one.
        if (!options.all || (options.backward && result.position == 0)) break;
        start = options.backward ? result.position - 1 : result.position + 1;
    }
    return any ? kExitOk : kExitFailure;
}

}  // namespace

const Command kFindCommand{
    "find", "FILE (--hex \"41 42\" | --text STR [--encoding ascii|utf8|utf16le|utf16be]) [--from HEX] [--backward] [--all]",
    "Prints the offset of the next match at or after --from (default 0), of the previous one at or before it with "
    "--backward, or of every match in that direction with --all. Text is encoded as UTF-8 unless --encoding says "
    "otherwise. Exit code 1 when nothing matches, 2 for a query that is not valid.",
    RunFind};

}  // namespace tvx::cli
