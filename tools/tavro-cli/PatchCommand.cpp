// tavro-cli patch: byte edits through the document's edit layer, then a save.

#include "document/EditableDocument.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/QueryBytes.h"

#include <ostream>

namespace tvx::cli {
namespace {

struct PatchOperation {
    enum class Kind { Overwrite, Insert, Delete, Undo, Redo } kind;
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;  // for overwrite and insert
    std::uint64_t count = 0;          // for delete
    std::u16string text;              // as given, for messages
};

std::optional<PatchOperation> ParseOperation(const std::u16string& text) {
    if (text == u"undo" || text == u"redo")
        return PatchOperation{text == u"undo" ? PatchOperation::Kind::Undo : PatchOperation::Kind::Redo, 0, {}, 0, text};
    const auto first = text.find(u':');
    const auto second = first == std::u16string::npos ? first : text.find(u':', first + 1);
    if (second == std::u16string::npos) return std::nullopt;
    const std::u16string_view view(text);
    const std::u16string_view name = view.substr(0, first);
    const auto offset = ParseHexNumber(view.substr(first + 1, second - first - 1));
    const std::u16string_view operand = view.substr(second + 1);
    if (!offset) return std::nullopt;

    PatchOperation operation{PatchOperation::Kind::Overwrite, *offset, {}, 0, text};
    if (name == u"del") {
        const auto count = ParseDecimal(operand);
        if (!count) return std::nullopt;
        operation.kind = PatchOperation::Kind::Delete;
        operation.count = *count;
        return operation;
    }
    if (name != u"ow" && name != u"ins") return std::nullopt;
    auto bytes = ParseHexBytes(operand);
    if (!bytes) return std::nullopt;
    operation.kind = name == u"ow" ? PatchOperation::Kind::Overwrite : PatchOperation::Kind::Insert;
    operation.bytes = std::move(*bytes);
    return operation;
}

// Why operation cannot apply to the document as it stands; empty when it can.
std::string Refusal(const PatchOperation& operation, const EditableDocument& document) {
    if (operation.kind == PatchOperation::Kind::Undo) return document.CanUndo() ? "" : "there is nothing to undo";
    if (operation.kind == PatchOperation::Kind::Redo) return document.CanRedo() ? "" : "there is nothing to redo";
    const std::uint64_t size = document.GetLogicalSize();
    const std::uint64_t length =
        operation.kind == PatchOperation::Kind::Delete ? operation.count : operation.bytes.size();
    if (operation.offset > size)
        return "offset " + OffsetText(operation.offset) + " is past the end of the document (" + std::to_string(size) +
               " bytes)";
    if (operation.kind != PatchOperation::Kind::Insert && length > size - operation.offset)
        return std::to_string(length) + " bytes from " + OffsetText(operation.offset) +
               " go past the end of the document (" + std::to_string(size) + " bytes)";
    return {};
}

// Each operation is one step of the document's history.
bool Apply(EditableDocument& document, const PatchOperation& operation) {
    switch (operation.kind) {
    case PatchOperation::Kind::Overwrite: return document.OverwriteBytes(operation.offset, operation.bytes);
    case PatchOperation::Kind::Insert: return document.InsertBytes(operation.offset, operation.bytes);
    case PatchOperation::Kind::Delete: return document.DeleteBytes(operation.offset, operation.count);
    case PatchOperation::Kind::Undo: return document.Undo().has_value();
    case PatchOperation::Kind::Redo: return document.Redo().has_value();
    }
    return false;
}

int RunPatch(CommandContext& context) {
    std::optional<std::u16string> path, output;
    std::vector<PatchOperation> operations;
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        if (reader.IsOption() && arg == u"--output") {
            const std::u16string* value = reader.Value();
            if (value == nullptr) return UsageError(context, kPatchCommand, "expected a file after '--output'");
            output = *value;
            continue;
        }
        if (reader.IsOption()) return UsageError(context, kPatchCommand, "unexpected argument " + Quoted(arg));
        if (!path) {
            path = arg;
            continue;
        }
        auto operation = ParseOperation(arg);
        if (!operation) return UsageError(context, kPatchCommand, "invalid operation " + Quoted(arg));
        operations.push_back(std::move(*operation));
    }
    if (!path || operations.empty())
        return UsageError(context, kPatchCommand, "expected a file and at least one operation");

    EditableDocument document;
    if (!OpenDocument(context, *path, document)) return kExitFailure;
    const std::uint64_t openedSize = document.GetSize();
    for (const PatchOperation& operation : operations) {
        std::string refusal = Refusal(operation, document);
        if (refusal.empty() && !Apply(document, operation)) refusal = "the edit could not be made";
        if (!refusal.empty())
            return Failure(context, Quoted(operation.text) + ": " + refusal + "; the file was not changed");
    }
    if (output) {
        if (const int code = SaveEditsAs(context, *output, document); code != kExitOk) return code;
        context.out << "written to " << Quoted(*output) << ", size " << document.GetSize() << " bytes\n";
        return kExitOk;
    }
    const bool inPlace = document.SavesInPlace();
    if (const int code = SaveEdits(context, *path, document, openedSize); code != kExitOk) return code;
    context.out << (inPlace ? "patched in place" : "replaced through a temporary file") << ", new size "
                << document.GetSize() << " bytes\n";
    return kExitOk;
}

}  // namespace

const Command kPatchCommand{
    "patch", "FILE [--output OUT] OP...",
    "Edits FILE and saves it. OP is ow:OFFSET:HEX (overwrite), ins:OFFSET:HEX (insert) or del:OFFSET:COUNT "
    "(delete), undo or redo (of the operations before it); OFFSET is hexadecimal (the size itself is the end), "
    "COUNT decimal, HEX an even number of hex digits. Nothing is saved when an operation does not fit. With "
    "--output the result is written to OUT and FILE is left as it is.",
    "--output ", RunPatch};

}  // namespace tvx::cli
