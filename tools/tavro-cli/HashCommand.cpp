// tavro-cli hash: checksums of the document or of a range of it.

#include "checksum/Checksum.h"
#include "document/EditableDocument.h"
#include "tools/tavro-cli/Arguments.h"
#include "tools/tavro-cli/Command.h"

#include <algorithm>
#include <ostream>

namespace tvx::cli {
namespace {

struct HashOptions {
    std::optional<std::u16string> path;
    std::uint64_t offset = 0;
    std::optional<std::uint64_t> length;
    std::vector<ChecksumAlgorithm> algorithms;  // each once, in the order first given
};

int ParseOptions(CommandContext& context, HashOptions& options) {
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        const std::u16string& arg = reader.Current();
        if (!reader.IsOption()) {
            if (options.path) return UsageError(context, kHashCommand, "unexpected argument " + Quoted(arg));
            options.path = arg;
        } else if (arg == u"--offset" || arg == u"--length" || arg == u"--algorithm") {
            const std::u16string* value = reader.Value();
            if (value == nullptr) return UsageError(context, kHashCommand, "expected a value after " + Quoted(arg));
            if (arg == u"--offset") {
                const auto offset = ParseHexNumber(*value);
                if (!offset) return UsageError(context, kHashCommand, "invalid offset " + Quoted(*value));
                options.offset = *offset;
            } else if (arg == u"--length") {
                options.length = ParseDecimal(*value);
                if (!options.length) return UsageError(context, kHashCommand, "invalid length " + Quoted(*value));
            } else {
                const auto algorithm = ParseChecksumName(*value);
                if (!algorithm) return UsageError(context, kHashCommand, "unknown algorithm " + Quoted(*value));
                if (std::find(options.algorithms.begin(), options.algorithms.end(), *algorithm) ==
                    options.algorithms.end())
                    options.algorithms.push_back(*algorithm);
            }
        } else {
            return UsageError(context, kHashCommand, "unexpected argument " + Quoted(arg));
        }
    }
    if (!options.path) return UsageError(context, kHashCommand, "expected a file");
    if (options.algorithms.empty()) options.algorithms.push_back(ChecksumAlgorithm::Sha256);
    return kExitOk;
}

int RunHash(CommandContext& context) {
    HashOptions options;
    if (const int code = ParseOptions(context, options); code != kExitOk) return code;

    EditableDocument document;
    if (!OpenDocument(context, *options.path, document)) return kExitFailure;
    const std::uint64_t size = document.GetSize();
    if (options.offset > size) return OffsetPastEnd(context, options.offset, size);
    const std::uint64_t rest = size - options.offset;
    const std::uint64_t length = options.length ? std::min(*options.length, rest) : rest;

    const ChecksumResult result = ComputeChecksums(document, options.offset, length, options.algorithms, {}, {});
    switch (result.status) {
    case ChecksumStatus::Done:
        break;
    case ChecksumStatus::ReadFailed:
        return Failure(context, "cannot read at offset " + OffsetText(result.failedAt));
    case ChecksumStatus::Cancelled:
    case ChecksumStatus::HashFailed:
        return Failure(context, "the system could not compute the checksum");
    }
    for (std::size_t i = 0; i < options.algorithms.size(); ++i)
        context.out << ChecksumName(options.algorithms[i]) << "  " << result.digests[i] << "\n";
    return kExitOk;
}

}  // namespace

const Command kHashCommand{"hash", "FILE [--offset HEX] [--length N] [--algorithm crc32|md5|sha1|sha256|sha512]...",
                           "Prints one line \"ALGORITHM  DIGEST\" (lowercase hexadecimal) for each algorithm asked for "
                           "(default sha256), over LENGTH bytes (decimal) from OFFSET (hexadecimal), or to the end.",
                           "--offset --length --algorithm ", RunHash};

}  // namespace tvx::cli
