// tavro-cli patch: byte edits through the document's edit layer, then a save.

#include "document/EditableDocument.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <ostream>

namespace tvx::cli {
namespace {

struct PatchOperation {
    enum class Kind { Overwrite, Insert, Delete } kind;
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;  // for overwrite and insert
    std::uint64_t count = 0;          // for delete
    std::u16string text;              // as given, for messages
};

std::optional<PatchOperation> ParseOperation(const std::u16string& text) {
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

bool Apply(EditableDocument& document, const PatchOperation& operation) {
    switch (operation.kind) {
    case PatchOperation::Kind::Overwrite:
        for (std::size_t i = 0; i < operation.bytes.size(); ++i)
            if (!document.OverwriteByte(operation.offset + i, operation.bytes[i])) return false;
        return true;
    case PatchOperation::Kind::Insert:
        for (std::size_t i = 0; i < operation.bytes.size(); ++i)
            if (!document.InsertByte(operation.offset + i, operation.bytes[i])) return false;
        return true;
    case PatchOperation::Kind::Delete:
        for (std::uint64_t i = 0; i < operation.count; ++i)
            if (!document.DeleteByte(operation.offset)) return false;
        return true;
    }
    return false;
}

int RunPatch(CommandContext& context) {
    if (context.args.size() < 2) return UsageError(context, kPatchCommand, "expected a file and at least one operation");
    const std::u16string& path = context.args[0];
    std::vector<PatchOperation> operations;
    for (std::size_t i = 1; i < context.args.size(); ++i) {
        auto operation = ParseOperation(context.args[i]);
        if (!operation) return UsageError(context, kPatchCommand, "invalid operation '" + Narrow(context.args[i]) + "'");
        operations.push_back(std::move(*operation));
    }

    EditableDocument document;
    if (!document.File().Open(path)) {
        context.err << "tavro-cli: cannot open '" << Narrow(path) << "'\n";
        return kExitFailure;
    }
    for (const PatchOperation& operation : operations) {
        if (!Apply(document, operation)) {
            context.err << "tavro-cli: " << Narrow(operation.text) << ": the edit goes beyond the end of the document ("
                        << document.GetLogicalSize() << " bytes); the file was not changed\n";
            return kExitFailure;
        }
    }
    const bool inPlace = document.SavesInPlace();
    if (!document.Save({})) {
        context.err << "tavro-cli: cannot save '" << Narrow(path) << "': " << Narrow(document.LastErrorText()) << "\n";
        return kExitFailure;
    }
    context.out << (inPlace ? "patched in place" : "replaced through a temporary file") << ", new size "
                << document.GetSize() << " bytes\n";
    return kExitOk;
}

}  // namespace

const Command kPatchCommand{
    "patch", "FILE OP...",
    "Edits FILE and saves it. OP is ow:OFFSET:HEX (overwrite), ins:OFFSET:HEX (insert) or del:OFFSET:COUNT "
    "(delete); OFFSET is hexadecimal, COUNT decimal, HEX an even number of hex digits.",
    RunPatch};

}  // namespace tvx::cli
