#pragma once
// The search dialog ("Tavro.SearchDialog"): a modal popup over the main window that stays
// open while the user searches again and again. Each Find button hands the query to a
// callback and waits for it; while the callback runs, Close, the close box and Escape only
// request a cancel, and the Find buttons are ignored. With replace texts it is the replace
// dialog: a replacement field, and Find Next, Replace and Replace All. User-interface thread
// only.

#include "search/SearchRequest.h"
#include "settings/AppSettings.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tvx {

// What the dialog hands to the search command.
struct SearchDialogResult {
    enum class Action { Find, Replace, ReplaceAll };
    SearchQueryKind kind = SearchQueryKind::Hex;
    std::u16string query;        // as typed
    std::u16string replacement;  // as typed, of the same kind; the replace dialog only
    Action action = Action::Find;
};

// Called for every Find press with the query, the direction and the dialog window.
using SearchDialogCallback = std::function<void(const SearchDialogResult&, SearchDirection, HWND dialog)>;

struct SearchDialogTexts {
    std::u16string title;
    std::u16string typeLabel;
    std::u16string queryLabel;
    std::u16string close;
    std::u16string previous;
    std::u16string next;
    std::u16string hexType;
    std::u16string textType;
    // The replace dialog's; empty for the search dialog.
    std::u16string replaceLabel;
    std::u16string replace;
    std::u16string replaceAll;
};

// One open dialog. It lives on the stack of RunSearchDialog; the window reaches it through
// GWLP_USERDATA, the search command through SearchDialogStateOf.
struct SearchDialogState {
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;
    SearchDialogTexts texts;
    std::u16string initialQuery;
    std::vector<SearchHistoryEntry> history;  // newest first
    std::size_t textLimit = kMaxSearchPatternLength;  // characters of a text query
    SearchQueryKind initialKind = SearchQueryKind::Hex;

    HWND window = nullptr;
    HWND typeList = nullptr;
    HWND queryBox = nullptr;
    HWND queryEdit = nullptr;  // the query box's edit field
    HWND previousButton = nullptr;
    HWND nextButton = nullptr;
    HWND closeButton = nullptr;
    HWND replaceEdit = nullptr;
    HWND replaceButton = nullptr;
    HWND replaceAllButton = nullptr;
    HWND lastFocus = nullptr;  // restored when the dialog is activated again

    std::u16string collectedQuery;
    std::u16string collectedReplacement;
    SearchQueryKind collectedKind = SearchQueryKind::Hex;
    bool closed = false;
    bool searching = false;
    bool cancelRequested = false;  // set while searching by Close, the close box or Escape
    SearchDirection pending = SearchDirection::None;
    SearchDialogResult::Action pendingAction = SearchDialogResult::Action::Find;
    SearchDialogCallback callback;
    SearchDialogResult result;
};

// Shows the dialog with the owner disabled and returns once it is closed. textLimit is the
// most characters of a text query (hexadecimal queries take kMaxHexQueryLength). Nothing
// happens when the window class cannot be registered or the window not created.
void RunSearchDialog(HWND owner, HINSTANCE instance, const SearchDialogTexts& texts,
                     const std::u16string& initialQuery, const std::vector<SearchHistoryEntry>& history,
                     std::size_t textLimit, SearchDialogCallback callback);

// The state of an open search dialog, or null for any other window.
[[nodiscard]] SearchDialogState* SearchDialogStateOf(HWND dialog);

// Replaces the dialog's copy of the history and refills the query box's drop-down list,
// keeping the typed text.
void SetSearchDialogHistory(SearchDialogState& state, const std::vector<SearchHistoryEntry>& history);

}  // namespace tvx
