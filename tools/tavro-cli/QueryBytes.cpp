#include "tools/tavro-cli/QueryBytes.h"

#include "document/EditableDocument.h"
#include "localization/StringTable.h"
#include "platform/Interrupt.h"
#include "tools/tavro-cli/TerminalText.h"

namespace tvx::cli {
namespace {

bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        else if (c >= 0xD800 && c <= 0xDFFF) return true;
    }
    return false;
}

// The file's size now, as a fresh open sees it; nothing when it cannot be opened.
std::optional<std::uint64_t> CurrentSize(const std::u16string& path) {
    EditableDocument fresh;
    if (!fresh.File().Open(path)) return std::nullopt;
    return fresh.GetSize();
}

}  // namespace

std::string TextQueryRefusal(SearchQueryKind kind, std::u16string_view query, const char* option,
                             const char* hexOption) {
    if (kind != SearchQueryKind::Text || !HasLoneSurrogate(query)) return {};
    return std::string("the ") + option + " value is not valid UTF-8; give its bytes with " + hexOption;
}

std::optional<SearchPattern> QueryBytes(CommandContext& context, SearchQueryKind kind, std::u16string_view query,
                                        TextEncoding encoding) {
    const char* refusal = nullptr;
    std::optional<SearchPattern> pattern;
    if (kind == SearchQueryKind::Text) {
        pattern = EncodeTextQuery(query, encoding);
        if (!pattern) refusal = "error.search_invalid_text";
        else if (pattern->size() > kMaxSearchPatternLength) refusal = "error.search_too_long";
    } else {
        PreparedSearch prepared = PrepareSearch(kind, query, encoding);
        pattern = std::move(prepared.pattern);
        refusal = prepared.errorKey;
    }
    if (refusal == nullptr) return pattern;
    (void)RefusalFailure(context, refusal);
    return std::nullopt;
}

int RefusalFailure(CommandContext& context, const char* errorKey) {
    StringTable strings;
    strings.SetLanguage(Language::English);
    return Failure(context, TerminalText(strings.GetText(errorKey)));
}

int SaveEdits(CommandContext& context, const std::u16string& path, EditableDocument& document,
              std::uint64_t openedSize) {
    const auto changed = [&](const char* outcome) {
        const std::optional<std::uint64_t> now = CurrentSize(path);
        if (!now || *now == openedSize) return std::string();
        return Quoted(path) + " changed while it was being edited (" + std::to_string(openedSize) + " bytes when "
               "opened, " + std::to_string(*now) + " now); " + outcome;
    };
    if (const std::string message = changed("the file was not saved"); !message.empty())
        return Failure(context, message);
    if (document.Save({}, [] { return platform::InterruptRequested(); })) return kExitOk;
    if (const std::string message = changed("the save failed"); !message.empty()) return Failure(context, message);
    return SaveFailure(context, path, document);
}

int SaveEditsAs(CommandContext& context, const std::u16string& output, EditableDocument& document) {
    if (document.SaveAs(output, {}, [] { return platform::InterruptRequested(); })) return kExitOk;
    return SaveFailure(context, output, document);
}

int SaveFailure(CommandContext& context, const std::u16string& path, const EditableDocument& document) {
    if (platform::InterruptRequested()) {
        (void)Failure(context, "interrupted; " + Quoted(path) + " was not changed");
        return platform::InterruptExitCode();
    }
    const std::u16string& reason = document.LastErrorText();
    return Failure(context, "cannot save " + Quoted(path) + ": " +
                                (reason.empty() ? std::string("the save failed") : TerminalText(reason)));
}

}  // namespace tvx::cli
