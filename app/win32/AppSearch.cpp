// The find and replace commands: the search dialog in both its forms, searching again with
// F3 and Shift+F3, the active query whose matches are marked, and the search history.

#include "app/win32/AppWindow.h"

#include "app/StatusText.h"

#include "app/win32/DialogSupport.h"
#include "search/ReplaceAll.h"
#include "search/SearchHistory.h"

namespace tvx {

SearchDialogTexts AppWindow::SearchTexts(bool replace) {
    SearchDialogTexts texts;
    texts.title = Text(replace ? "dialog.replace.title" : "dialog.search.title");
    texts.typeLabel = Text("dialog.search.type");
    texts.queryLabel = Text("dialog.search.query");
    texts.close = Text("dialog.common.close");
    texts.previous = Text("dialog.search.previous");
    texts.next = Text("dialog.search.next");
    texts.hexType = Text("dialog.search.type.hex");
    texts.textType = Text("dialog.search.type.text");
    if (replace) {
        texts.replaceLabel = Text("dialog.replace.with");
        texts.replace = Text("dialog.replace.replace");
        texts.replaceAll = Text("dialog.replace.replace_all");
    }
    return texts;
}

void AppWindow::FindNext() {
    if (!document_.IsOpen()) return;
    // Every search made while this dialog stays open uses the encoding of this moment.
    const TextEncoding encoding = hexView_.View().Encoding();
    RunSearchDialog(window_, instance_, SearchTexts(false), u"", settings_.searchHistory,
                    TextQueryLengthLimit(encoding),
                    [this, encoding](const SearchDialogResult& request, SearchDirection direction, HWND dialog) {
                        SearchCommand(request, direction, dialog, encoding);
                        RecordQuery(dialog);
                    });
}

void AppWindow::ShowReplaceDialog() {
    if (!document_.IsOpen()) return;
    if (!hexView_.View().EditingEnabled()) {
        FlashReadOnlyNotice();
        return;
    }
    const TextEncoding encoding = hexView_.View().Encoding();
    RunSearchDialog(window_, instance_, SearchTexts(true), u"", settings_.searchHistory,
                    TextQueryLengthLimit(encoding),
                    [this, encoding](const SearchDialogResult& request, SearchDirection direction, HWND dialog) {
                        if (request.action == SearchDialogResult::Action::Find)
                            SearchCommand(request, direction, dialog, encoding);
                        else
                            ReplaceCommand(request, dialog, encoding);
                        RecordQuery(dialog);
                    });
}

std::optional<SearchPattern> AppWindow::TakeQuery(const SearchDialogResult& request, HWND dialog,
                                                  TextEncoding encoding) {
    const PreparedSearch prepared = PrepareSearch(request.kind, request.query, encoding);
    if (!prepared.pattern) {
        MessageBoxW(dialog, Wide(Text(prepared.errorKey)), Wide(Text("dialog.search.title")), MB_ICONERROR);
        return std::nullopt;
    }
    activeQuery_ = *prepared.pattern;
    hexView_.View().SetMarkedPattern(*prepared.pattern);
    pendingHistory_ = {request.kind, prepared.query};
    return prepared.pattern;
}

// The query goes into the history once the command that took it has run.
void AppWindow::RecordQuery(HWND dialog) {
    if (!pendingHistory_) return;
    AddSearchHistory(SearchKindName(pendingHistory_->kind), pendingHistory_->query);
    pendingHistory_.reset();
    if (SearchDialogState* state = SearchDialogStateOf(dialog)) SetSearchDialogHistory(*state, settings_.searchHistory);
}

void AppWindow::SearchCommand(const SearchDialogResult& request, SearchDirection direction, HWND dialog,
                              TextEncoding encoding) {
    if (const std::optional<SearchPattern> pattern = TakeQuery(request, dialog, encoding)) {
        SearchDialogState* state = SearchDialogStateOf(dialog);
        SearchAndSelect(*pattern, direction, dialog, state ? &state->cancelRequested : nullptr);
    }
}

void AppWindow::SearchAgain(SearchDirection direction) {
    if (!document_.IsOpen()) return;
    if (!activeQuery_) {
        FindNext();
        return;
    }
    // No dialog holds the window off meanwhile.
    const bool viewHadFocus = HoldInput();
    bool cancelRequested = false;
    SearchAndSelect(*activeQuery_, direction, window_, &cancelRequested);
    ReleaseInput(viewHadFocus);
}

bool AppWindow::SearchAndSelect(const SearchPattern& pattern, SearchDirection direction, HWND messageOwner,
                                bool* cancelRequested) {
    BeginSearchProgress();
    HexView& view = hexView_.View();
    std::optional<SearchSelection> selection;
    if (view.SelectionActive()) selection = SearchSelection{view.SelectionStart(), view.SelectionEnd()};
    SearchResult result;
    if (const auto start = ChooseSearchStart(direction, view.Caret(), selection, document_.GetSize())) {
        const ProgressCallback progress = [this](std::size_t done, std::size_t total) {
            OnSearchProgress(done, total);
        };
        const SearchCancelCheck cancel = [this, cancelRequested] { return CheckSearchCancel(cancelRequested); };
        result = direction == SearchDirection::Previous ? BackwardSearch(&document_, pattern, *start, cancel, progress)
                                                        : ForwardSearch(&document_, pattern, *start, cancel, progress);
    }
    EndSearchProgress();

    if (result.status == SearchStatus::Cancelled) return false;
    if (!result.found) {
        MessageBoxW(messageOwner, Wide(Text("error.search_not_found")), Wide(Text("dialog.search.title")),
                    MB_ICONINFORMATION);
        return false;
    }
    // Selecting the match also ends a mouse drag, moves the caret to its start, scrolls it
    // into view and tells this window that the caret moved.
    if (view.DocumentOpen()) view.SelectRange(result.position, result.position + pattern.size() - 1);
    RefreshStatusBar();
    return true;
}

void AppWindow::ReplaceCommand(const SearchDialogResult& request, HWND dialog, TextEncoding encoding) {
    HexView& view = hexView_.View();
    const std::u16string caption = Text("dialog.replace.title");
    if (!view.EditingEnabled()) {
        FlashReadOnlyNotice();
        return;
    }
    const PreparedReplacement replacement = PrepareReplacement(request.kind, request.replacement, encoding);
    if (!replacement.bytes) {
        MessageBoxW(dialog, Wide(Text(replacement.errorKey)), Wide(caption), MB_ICONERROR);
        return;
    }
    const std::optional<SearchPattern> pattern = TakeQuery(request, dialog, encoding);
    if (!pattern) return;
    if (!ReplacementFits(pattern->size(), replacement.bytes->size(), view.Mode() == EditMode::Insert)) {
        MessageBoxW(dialog, Wide(Text("error.replace_needs_insert")), Wide(caption), MB_ICONINFORMATION);
        return;
    }

    if (request.action == SearchDialogResult::Action::Replace) {
        // The selection, when it is a match, is replaced; then the next match is selected.
        const std::uint64_t at = view.SelectionStart();
        if (view.SelectionActive() && view.SelectionEnd() - at + 1 == pattern->size()) {
            const ReplaceStatus status = ReplaceMatchAt(document_, *pattern, *replacement.bytes, at);
            if (status == ReplaceStatus::Failed) {
                MessageBoxW(dialog, Wide(Text("error.replace_failed")), Wide(caption), MB_ICONERROR);
                return;
            }
            if (status == ReplaceStatus::Replaced) view.DocumentEdited(at + replacement.bytes->size());
        }
        SearchDialogState* state = SearchDialogStateOf(dialog);
        SearchAndSelect(*pattern, SearchDirection::Next, dialog, state ? &state->cancelRequested : nullptr);
        return;
    }

    // Replace All: within a selection of more than one byte, else in the whole document.
    std::uint64_t begin = 0, end = document_.GetSize();
    if (view.SelectionActive() && view.SelectionEnd() > view.SelectionStart()) {
        begin = view.SelectionStart();
        end = view.SelectionEnd() + 1;
    }
    SearchDialogState* state = SearchDialogStateOf(dialog);
    bool* cancelRequested = state ? &state->cancelRequested : nullptr;
    BeginSearchProgress();
    const ReplaceOutcome outcome = ReplaceAll(
        document_, *pattern, *replacement.bytes, begin, end, UINT64_MAX,
        [this, cancelRequested] { return CheckSearchCancel(cancelRequested); },
        [this](std::size_t done, std::size_t total) { OnSearchProgress(done, total); });
    EndSearchProgress();
    switch (outcome.status) {
        case ReplaceStatus::Replaced:
            view.DocumentEdited(begin);
            MessageBoxW(dialog, Wide(ReplacedCountText(outcome.count, [this](std::string_view key) { return Text(key); })), Wide(caption),
                        MB_ICONINFORMATION);
            break;
        case ReplaceStatus::NotFound:
            MessageBoxW(dialog, Wide(Text("error.search_not_found")), Wide(caption), MB_ICONINFORMATION);
            break;
        case ReplaceStatus::Failed:
            MessageBoxW(dialog, Wide(Text("error.replace_failed")), Wide(caption), MB_ICONERROR);
            break;
        case ReplaceStatus::Cancelled: break;
    }
}

void AppWindow::AddSearchHistory(std::u16string_view kind, std::u16string_view query) {
    if (tvx::AddSearchHistory(settings_.searchHistory, kind, query)) SaveSettingsNow();
}

}  // namespace tvx
