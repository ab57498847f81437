#pragma once
// What find and replace share: the bytes of a query as given on the command line, and the
// save that ends an edit.

#include "search/SearchRequest.h"
#include "tools/tavro-cli/Command.h"

#include <optional>
#include <string>

namespace tvx::cli {

// Why the value of a text option cannot be taken (it holds a lone surrogate, so is not valid
// UTF-8, and its bytes must come through hexOption); empty when it can.
[[nodiscard]] std::string TextQueryRefusal(SearchQueryKind kind, std::u16string_view query, const char* option,
                                           const char* hexOption);

// The bytes of a query: text exactly as given (the editor's dialog trims its query, a command
// line means every character), hexadecimal as the dialog reads it. A refusal is reported as a
// failure and gives nothing.
[[nodiscard]] std::optional<SearchPattern> QueryBytes(CommandContext& context, SearchQueryKind kind,
                                                      std::u16string_view query, TextEncoding encoding);

// Reports the refusal the string table's key names, in English, as a failure; returns kExitFailure.
int RefusalFailure(CommandContext& context, const char* errorKey);

// Saves the document's edits to path, the file it was opened from with openedSize bytes,
// refusing when the file changed meanwhile. kExitOk, or kExitFailure after the reason; an
// interrupt (Ctrl+C, SIGTERM) stops the save with the file as it was and gives its exit code.
[[nodiscard]] int SaveEdits(CommandContext& context, const std::u16string& path, EditableDocument& document,
                            std::uint64_t openedSize);
// Writes the edited document to output instead, leaving its own file untouched.
[[nodiscard]] int SaveEditsAs(CommandContext& context, const std::u16string& output, EditableDocument& document);
// Reports why the save of path failed (or that an interrupt stopped it); returns the exit code.
[[nodiscard]] int SaveFailure(CommandContext& context, const std::u16string& path, const EditableDocument& document);

}  // namespace tvx::cli
