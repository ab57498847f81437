// Saving the edited document: patching the file in place, or writing a temporary file that
// replaces it.

#include "document/EditableDocument.h"
#include "document/Win32Error.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tvx {
namespace {

constexpr std::uint64_t kCopyBlock = 1 << 20;
constexpr char16_t kTempPrefix[] = u"TVR";

// Writes the whole buffer in calls of at most the largest 32-bit count.
bool WriteAll(const platform::FileHandle& handle, const std::uint8_t* bytes, std::uint64_t length) {
    while (length > 0) {
        const auto chunk =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(length, std::numeric_limits<std::uint32_t>::max()));
        std::uint32_t written = 0;
        if (!handle.Write(bytes, chunk, written) || written != chunk) return false;
        bytes += chunk;
        length -= chunk;
    }
    return true;
}

class ProgressReporter {
public:
    ProgressReporter(const ProgressCallback& callback, std::uint64_t logicalSize)
        : callback_(callback), total_(static_cast<std::size_t>(std::max<std::uint64_t>(logicalSize, 1))) {}

    void Report(std::uint64_t done) const {
        if (callback_) callback_(static_cast<std::size_t>(std::min<std::uint64_t>(done, total_)), total_);
    }
    void ReportDone() const { Report(total_); }

private:
    const ProgressCallback& callback_;
    std::size_t total_;
};

}  // namespace

bool EditableDocument::Save(const ProgressCallback& progress) {
    lastError_.clear();
    if (!IsOpen()) {
        lastError_ = u"No file is open.";
        return false;
    }
    if (!IsModified()) return true;
    const std::u16string path = file_.GetPath();
    return SavesInPlace() ? SaveInPlace(path, progress) : SaveViaTempFile(path, progress);
}

bool EditableDocument::SavesInPlace() const {
    if (!edited_) return true;
    // Added bytes that stand before no file byte can only trail the file's bytes; the file's
    // bytes keep their places when they are exactly [0, n) for some n.
    const PieceTotals& totals = pieces_.Totals();
    return totals.anchoredBytes == 0 && totals.fileEnd == totals.fileBytes;
}

void EditableDocument::SetErrorFromSystem() {
    if (lastError_.empty()) lastError_ = FormatWin32Error(platform::LastError());
}

bool EditableDocument::FinishSave(const std::u16string& path) {
    DropEdits();
    file_.Close();
    return file_.Open(path);
}

bool EditableDocument::SaveInPlace(const std::u16string& path, const ProgressCallback& progress) {
    const ProgressReporter reporter(progress, GetLogicalSize());
    platform::FileHandle out = platform::OpenExistingForWriting(path);
    if (!out.IsOpen()) {
        SetErrorFromSystem();
        return false;
    }

    const PieceTotals totals = pieces_.Totals();
    const auto writeChanges = [&]() {
        // One seek and one write per run of consecutive overwritten offsets; the added bytes
        // all trail the file's bytes and go directly after the last one kept.
        std::vector<std::uint8_t> group;
        std::uint64_t groupStart = 0;
        const auto writeGroup = [&]() {
            if (group.empty()) return true;
            if (!out.Seek(groupStart) || !WriteAll(out, group.data(), group.size())) return false;
            reporter.Report(groupStart + group.size());
            group.clear();
            return true;
        };
        bool ok = true;
        std::vector<Piece> appended;
        pieces_.ForEachFrom(0, [&](const Piece& piece) {
            if (piece.source == PieceSource::Added) {
                appended.push_back(piece);
                return true;
            }
            if (piece.source != PieceSource::Overwrite) return true;
            if (!group.empty() && groupStart + group.size() != piece.fileOffset) ok = writeGroup();
            if (group.empty()) groupStart = piece.fileOffset;
            const auto* bytes = added_.data() + piece.bufferOffset;
            group.insert(group.end(), bytes, bytes + piece.length);
            return ok;
        });
        if (!ok || !writeGroup()) return false;
        if (!appended.empty()) {
            if (!out.Seek(totals.fileBytes)) return false;
            for (const Piece& piece : appended)
                if (!WriteAll(out, added_.data() + piece.bufferOffset, piece.length)) return false;
            reporter.ReportDone();
        }
        if (totals.fileBytes != file_.GetSize()) {
            if (!out.Seek(totals.bytes) || !out.SetEnd()) return false;
            reporter.ReportDone();
        }
        return out.Flush();
    };

    if (!writeChanges()) {
        SetErrorFromSystem();
        out.Close();
        return false;
    }
    out.Close();
    return FinishSave(path);
}

// Streams the pieces through one buffer of kCopyBlock bytes, written whenever it fills.
bool EditableDocument::CopyDocument(const platform::FileHandle& out, const ProgressCallback& progress) {
    const ProgressReporter reporter(progress, GetLogicalSize());
    std::vector<std::uint8_t> buffer(kCopyBlock);
    std::uint64_t filled = 0;
    std::uint64_t written = 0;
    const auto flush = [&]() {
        if (!WriteAll(out, buffer.data(), filled)) return false;
        written += filled;
        filled = 0;
        reporter.Report(written);
        return true;
    };
    bool ok = true;
    pieces_.ForEachFrom(0, [&](const Piece& piece) {
        for (std::uint64_t done = 0; ok && done < piece.length;) {
            const std::uint64_t take = std::min(piece.length - done, kCopyBlock - filled);
            if (piece.source == PieceSource::File) {
                platform::ClearLastError();
                ok = file_.ReadInto(piece.fileOffset + done, take, buffer.data() + filled) == take;
            } else {
                std::memcpy(buffer.data() + filled, added_.data() + piece.bufferOffset + done,
                            static_cast<std::size_t>(take));
            }
            filled += take;
            done += take;
            if (ok && filled == kCopyBlock) ok = flush();
        }
        return ok;
    });
    return ok && (filled == 0 || flush());
}

bool EditableDocument::SaveViaTempFile(const std::u16string& path, const ProgressCallback& progress) {
    std::u16string directory = platform::ParentDirectory(path);
    if (directory.empty() && !platform::SystemTempDirectory(directory)) {
        SetErrorFromSystem();
        if (lastError_.empty()) lastError_ = u"The folder for temporary files could not be determined.";
        return false;
    }
    std::u16string tempPath;
    if (!platform::CreateUniqueFile(directory, kTempPrefix, tempPath)) {
        SetErrorFromSystem();
        return false;
    }
    platform::FileHandle out = platform::CreateForWriting(tempPath);
    if (!out.IsOpen()) {
        SetErrorFromSystem();
        platform::RemoveFile(tempPath);
        return false;
    }
    if (!CopyDocument(out, progress) || !out.Flush()) {
        SetErrorFromSystem();
        out.Close();
        platform::RemoveFile(tempPath);
        return false;
    }
    out.Close();

    file_.Close();  // the file cannot be replaced while it is open
    if (!platform::MoveOver(tempPath, path)) {
        SetErrorFromSystem();
        platform::RemoveFile(tempPath);
        (void)file_.Open(path);
        return false;
    }
    return FinishSave(path);
}

}  // namespace tvx
