// The find command: the search dialog, the search it asks for and the search history.

#include "app/win32/AppWindow.h"

#include "app/win32/DialogSupport.h"
#include "search/SearchEngine.h"
#include "search/SearchHistory.h"

namespace tvx {

void AppWindow::FindNext() {
    if (!document_.IsOpen()) return;
    // Every search made while this dialog stays open uses the encoding of this moment.
    const TextEncoding encoding = hexView_.View().Encoding();
    const SearchDialogTexts texts{Text("dialog.search.title"),    Text("dialog.search.type"),
                                  Text("dialog.search.query"),    Text("dialog.common.close"),
                                  Text("dialog.search.previous"), Text("dialog.search.next"),
                                  Text("dialog.search.type.hex"), Text("dialog.search.type.text")};
    RunSearchDialog(window_, instance_, texts, u"", settings_.searchHistory, TextQueryLengthLimit(encoding),
                    [this, encoding](const SearchDialogResult& request, SearchDirection direction, HWND dialog) {
                        SearchCommand(request, direction, dialog, encoding);
                    });
}

void AppWindow::SearchCommand(const SearchDialogResult& request, SearchDirection direction, HWND dialog,
                              TextEncoding encoding) {
    SearchDialogState* state = SearchDialogStateOf(dialog);
    const std::u16string caption = Text("dialog.search.title");
    const PreparedSearch prepared = PrepareSearch(request.kind, request.query, encoding);
    if (!prepared.pattern) {
        MessageBoxW(dialog, Wide(Text(prepared.errorKey)), Wide(caption), MB_ICONERROR);
        return;
    }
    AddSearchHistory(SearchKindName(request.kind), prepared.query);
    if (state) SetSearchDialogHistory(*state, settings_.searchHistory);

    BeginSearchProgress();
    HexView& view = hexView_.View();
    std::optional<SearchSelection> selection;
    if (view.SelectionActive()) selection = SearchSelection{view.SelectionStart(), view.SelectionEnd()};
    SearchResult result;
    if (const auto start = ChooseSearchStart(direction, view.Caret(), selection, document_.GetSize())) {
        const ProgressCallback progress = [this](std::size_t done, std::size_t total) {
            OnSearchProgress(done, total);
        };
        bool* cancelRequested = state ? &state->cancelRequested : nullptr;
        const SearchCancelCheck cancel = [this, cancelRequested] { return CheckSearchCancel(cancelRequested); };
        result = direction == SearchDirection::Previous
                     ? BackwardSearch(&document_, *prepared.pattern, *start, cancel, progress)
                     : ForwardSearch(&document_, *prepared.pattern, *start, cancel, progress);
    }
    EndSearchProgress();

    if (result.status == SearchStatus::Cancelled) return;
    if (!result.found) {
        MessageBoxW(dialog, Wide(Text("error.search_not_found")), Wide(caption), MB_ICONINFORMATION);
        return;
    }
    // Selecting the match also ends a mouse drag, moves the caret to its start, scrolls it
    // into view and tells this window that the caret moved.
    if (view.DocumentOpen()) view.SelectRange(result.position, result.position + prepared.pattern->size() - 1);
    RefreshStatusBar();
}

void AppWindow::AddSearchHistory(std::u16string_view kind, std::u16string_view query) {
    if (tvx::AddSearchHistory(settings_.searchHistory, kind, query)) SaveSettingsNow();
}

}  // namespace tvx
