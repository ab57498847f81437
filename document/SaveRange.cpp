#include "document/SaveRange.h"

#include "document/Win32Error.h"
#include "platform/AbsolutePath.h"
#include "platform/CaseCompare.h"
#include "platform/File.h"

#include <algorithm>

namespace tvx {
namespace {

constexpr std::uint64_t kBlock = 1 << 20;

bool Fail(std::u16string& error, std::u16string fallback) {
    error = FormatWin32Error(platform::LastError());
    if (error.empty()) error = std::move(fallback);
    return false;
}

// Replacing the open file would change the bytes under the document.
bool IsDocumentFile(const IReadOnlyDocument& document, const std::u16string& path) {
    const auto target = platform::AbsolutePath(path);
    const auto own = platform::AbsolutePath(document.GetPath());
    return target && own && platform::EqualIgnoringCase(*target, *own);
}

}  // namespace

bool SaveRange(const IReadOnlyDocument& document, std::uint64_t offset, std::uint64_t length,
               const std::u16string& path, const ProgressCallback& progress, std::u16string& error) {
    error.clear();
    if (IsDocumentFile(document, path)) {
        error = u"The selection cannot replace the file that is open.";
        return false;
    }
    std::u16string directory = platform::ParentDirectory(path);
    if (directory.empty()) directory = u".";
    std::u16string tempPath;
    platform::ClearLastError();
    if (!platform::CreateUniqueFile(directory, u"TVR", tempPath))
        return Fail(error, u"No temporary file could be made in the folder.");
    platform::FileHandle out = platform::CreateForWriting(tempPath);
    bool ok = out.IsOpen();
    const std::size_t total = static_cast<std::size_t>(std::max<std::uint64_t>(length, 1));
    for (std::uint64_t done = 0; ok && done < length;) {
        const std::uint64_t wanted = std::min(kBlock, length - done);
        platform::ClearLastError();
        const ByteBlock block = document.ReadBytes(offset + done, wanted);
        if (block.bytes.size() != wanted) {
            (void)Fail(error, u"The document could not be read.");
            ok = false;
            break;
        }
        std::uint32_t written = 0;
        ok = out.Write(block.bytes.data(), static_cast<std::uint32_t>(wanted), written) && written == wanted;
        done += wanted;
        if (ok && progress) progress(static_cast<std::size_t>(done), total);
    }
    ok = ok && out.Flush();
    if (!ok && error.empty()) (void)Fail(error, u"The file could not be written.");
    out.Close();
    if (ok && !platform::MoveOver(tempPath, path)) ok = Fail(error, u"The file could not be replaced.");
    if (!ok) platform::RemoveFile(tempPath);
    return ok;
}

}  // namespace tvx
