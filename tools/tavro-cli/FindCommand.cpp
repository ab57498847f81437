// tavro-cli find: the editor's search from the command line.

#include "document/EditableDocument.h"
#include "platform/Utf8.h"
#include "search/AllMatches.h"
#include "search/SearchEngine.h"
#include "search/SearchRequest.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/QueryBytes.h"
#include "tools/tavro-cli/TerminalText.h"

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

// "0x" and capital hexadecimal digits, as OffsetText, then a line break: without a format
// call, for the millions of lines of --all.
void AppendOffsetLine(std::string& out, std::uint64_t offset) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char text[20];
    char* p = text + sizeof text;
    *--p = '\n';
    do {
        *--p = kDigits[offset & 0x0F];
        offset >>= 4;
    } while (offset != 0);
    *--p = 'x';
    *--p = '0';
    out.append(p, static_cast<std::size_t>(text + sizeof text - p));
}

// Returns kExitOk or the exit code of a usage error already reported.
int ParseOptions(CommandContext& context, FindOptions& options) {
    bool hasPath = false, hasQuery = false, hasEncoding = false;
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        if (!reader.IsOption()) {
            if (hasPath) return UsageError(context, kFindCommand, "unexpected argument " + Quoted(arg));
            options.path = arg;
            hasPath = true;
        } else if (arg == u"--backward") {
            options.backward = true;
        } else if (arg == u"--all") {
            options.all = true;
        } else if (arg == u"--hex" || arg == u"--text" || arg == u"--encoding" || arg == u"--from") {
            const std::u16string* value = reader.Value();
            if (value == nullptr) return UsageError(context, kFindCommand, "expected a value after " + Quoted(arg));
            if (arg == u"--hex" || arg == u"--text") {
                if (hasQuery) return UsageError(context, kFindCommand, "expected one query, --hex or --text");
                options.kind = arg == u"--hex" ? SearchQueryKind::Hex : SearchQueryKind::Text;
                options.query = *value;
                hasQuery = true;
            } else if (arg == u"--encoding") {
                const auto encoding = ParseEncodingName(*value);
                if (!encoding) return UsageError(context, kFindCommand, "unknown encoding " + Quoted(*value));
                options.encoding = *encoding;
                hasEncoding = true;
            } else {
                const auto from = ParseHexNumber(*value);
                if (!from) return UsageError(context, kFindCommand, "invalid offset " + Quoted(*value));
                options.from = *from;
            }
        } else {
            return UsageError(context, kFindCommand, "unexpected argument " + Quoted(arg));
        }
    }
    if (!hasPath || !hasQuery) return UsageError(context, kFindCommand, "expected a file and --hex or --text");
    if (hasEncoding && options.kind == SearchQueryKind::Hex)
        return UsageError(context, kFindCommand, "--encoding applies to --text only");
    if (const std::string refusal = TextQueryRefusal(options.kind, options.query, "--text", "--hex"); !refusal.empty())
        return UsageError(context, kFindCommand, refusal);
    return kExitOk;
}

int RunFind(CommandContext& context) {
    FindOptions options;
    if (const int code = ParseOptions(context, options); code != kExitOk) return code;
    const std::optional<SearchPattern> pattern = QueryBytes(context, options.kind, options.query, options.encoding);
    if (!pattern) return kExitUsage;

    EditableDocument document;
    if (!OpenDocument(context, options.path, document)) return kExitFailure;
    if (options.from > document.GetSize()) return OffsetPastEnd(context, options.from, document.GetSize());

    TerminalWriter writer(context.out);
    bool any = false;
    if (options.all) {
        const ScanOutcome outcome =
            ScanAllMatches(&document, *pattern, options.from, options.backward, [&](std::uint64_t position) {
                AppendOffsetLine(writer.Buffer(), position);
                writer.Spill();
                any = true;
                return true;
            });
        if (outcome == ScanOutcome::ReadFailed) {
            writer.Flush();
            return Failure(context, "cannot read " + Quoted(options.path));
        }
    } else {
        const SearchResult result = options.backward ? BackwardSearch(&document, *pattern, options.from, {}, {})
                                                     : ForwardSearch(&document, *pattern, options.from, {}, {});
        if (result.found) writer.Raw(OffsetText(result.position) + "\n");
        any = result.found;
    }
    return any ? kExitOk : kExitFailure;
}

}  // namespace

const Command kFindCommand{
    "find", "FILE (--hex \"41 42\" | --text STR [--encoding ascii|utf8|utf16le|utf16be]) [--from HEX] [--backward] [--all]",
    "Prints the offset of the next match at or after --from (default 0), of the previous one at or before it with "
    "--backward, or of every match in that direction with --all (overlapping ones included). Text is searched "
    "exactly as given (spaces too), encoded as UTF-8 unless --encoding says otherwise; text that is not valid "
    "UTF-8 is refused (give its bytes with --hex). Exit code 1 when nothing matches, 2 for a query that is not "
    "valid.",
    "--hex --text --encoding --from ", RunFind};

}  // namespace tvx::cli
