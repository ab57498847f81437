// Saving the edited document: patching the file in place, or writing a temporary file that
// replaces it.

#include "document/EditableDocument.h"
#include "document/Win32Error.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

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

std::u16string HexText(std::uint64_t value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return u"0x" + text;
}

// Adds a sentence to an error text; the system's own texts end in a full stop on Windows only.
void AddSentence(std::u16string& text, std::u16string_view sentence) {
    if (!text.empty()) text += text.back() == u'.' ? u" " : u". ";
    text += sentence;
}

// "0x10-0x1F, 0x40-0x40": the file ranges [first, end) already written.
std::u16string RangesText(const std::vector<std::pair<std::uint64_t, std::uint64_t>>& ranges) {
    std::u16string text;
    for (const auto& [first, end] : ranges) {
        if (!text.empty()) text += u", ";
        text += HexText(first) + u"-" + HexText(end - 1);
    }
    return text;
}

}  // namespace

const char16_t kChangedOnDiskText[] =
    u"The file was changed by another program after it was opened. Use Save As to keep your edits.";
const char16_t kSaveCancelledText[] = u"The save was cancelled; the file was not changed.";

bool EditableDocument::Save(const ProgressCallback& progress, const CancelCheck& cancel) {
    lastError_.clear();
    if (!IsOpen()) {
        lastError_ = u"No file is open.";
        return false;
    }
    if (!IsModified()) return true;
    if (file_.ChangedOnDisk()) {
        lastError_ = kChangedOnDiskText;
        return false;
    }
    const std::u16string path = file_.GetPath();
    return SavesInPlace() ? SaveInPlace(path, progress, cancel)
                          : SaveViaTempFile(platform::ResolveLinks(path), progress, cancel);
}

bool EditableDocument::SaveAs(const std::u16string& path, const ProgressCallback& progress,
                              const CancelCheck& cancel) {
    lastError_.clear();
    if (!IsOpen()) {
        lastError_ = u"No file is open.";
        return false;
    }
    const std::u16string target = platform::ResolveLinks(path);
    platform::FileIdentity own, other;
    if (target == platform::ResolveLinks(file_.GetPath()) ||
        (platform::QueryFileIdentity(file_.GetPath(), own) && platform::QueryFileIdentity(target, other) &&
         own.volume == other.volume && own.index == other.index))
        return Save(progress, cancel);
    // On success the document is the new file; the one it came from stays as it was.
    return SaveViaTempFile(target, progress, cancel);
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

bool EditableDocument::SaveInPlace(const std::u16string& path, const ProgressCallback& progress,
                                   const CancelCheck& cancel) {
    if (cancel && cancel()) {
        lastError_ = kSaveCancelledText;
        return false;
    }
    const ProgressReporter reporter(progress, GetLogicalSize());
    platform::FileHandle out = platform::OpenExistingForWriting(path);
    if (!out.IsOpen()) {
        SetErrorFromSystem();
        return false;
    }

    // The runs of consecutive overwritten offsets, and the added bytes, which all trail the
    // file's bytes and go directly after the last one kept.
    struct Group {
        std::uint64_t start;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Group> groups;
    std::vector<std::uint8_t> appended;
    const auto append = [&](std::vector<std::uint8_t>& to, const Piece& piece) {
        const std::size_t at = to.size();
        to.resize(at + static_cast<std::size_t>(piece.length));
        CopyAddedBytes(piece, added_.data(), 0, piece.length, to.data() + at);
    };
    pieces_.ForEachFrom(0, [&](const Piece& piece) {
        if (piece.source == PieceSource::Added) {
            append(appended, piece);
        } else if (piece.source == PieceSource::Overwrite) {
            if (groups.empty() || groups.back().start + groups.back().bytes.size() != piece.fileOffset)
                groups.push_back({piece.fileOffset, {}});
            append(groups.back().bytes, piece);
        }
        return true;
    });
    const PieceTotals totals = pieces_.Totals();
    const std::uint64_t originalSize = file_.GetSize();

    // Every byte the writes need is reserved first (holes of a sparse file included), so that a
    // full disk fails the save before anything is written.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> written;  // file ranges overwritten so far
    const auto writeChanges = [&]() {
        for (const Group& group : groups)
            if (!out.Reserve(group.start, group.bytes.size())) return false;
        if (!appended.empty() && !out.Reserve(totals.fileBytes, appended.size())) return false;
        for (const Group& group : groups) {
            if (!out.Seek(group.start) || !WriteAll(out, group.bytes.data(), group.bytes.size())) return false;
            written.emplace_back(group.start, group.start + group.bytes.size());
            reporter.Report(group.start + group.bytes.size());
        }
        if (!appended.empty()) {
            if (!out.Seek(totals.fileBytes) || !WriteAll(out, appended.data(), appended.size())) return false;
            if (totals.fileBytes < originalSize)
                written.emplace_back(totals.fileBytes, std::min(originalSize, totals.fileBytes + appended.size()));
            reporter.ReportDone();
        }
        if (totals.fileBytes != originalSize) {
            if (!out.Seek(totals.bytes) || !out.SetEnd()) return false;
            reporter.ReportDone();
        }
        return out.Flush();
    };

    if (!writeChanges()) {
        SetErrorFromSystem();
        // What was appended beyond the file's end goes again; overwritten bytes cannot.
        std::uint64_t size = 0;
        if (out.QuerySize(size) && size > originalSize) (void)(out.Seek(originalSize) && out.SetEnd());
        if (!written.empty())
            AddSentence(lastError_, u"These bytes of the file were already written: " + RangesText(written) + u".");
        out.Close();
        // The file as this save left it is the one the edits stand on: a later save may write.
        file_.RememberIdentity();
        return false;
    }
    out.Close();
    return FinishSave(path);
}

// Streams the pieces through one buffer of kCopyBlock bytes, written whenever it fills.
bool EditableDocument::CopyDocument(const platform::FileHandle& out, const ProgressCallback& progress,
                                    const CancelCheck& cancel) {
    const ProgressReporter reporter(progress, GetLogicalSize());
    std::vector<std::uint8_t> buffer(kCopyBlock);
    std::uint64_t filled = 0;
    std::uint64_t written = 0;
    const auto flush = [&]() {
        if (cancel && cancel()) {
            lastError_ = kSaveCancelledText;
            return false;
        }
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
                CopyAddedBytes(piece, added_.data(), done, take, buffer.data() + filled);
            }
            filled += take;
            done += take;
            if (ok && filled == kCopyBlock) ok = flush();
        }
        return ok;
    });
    return ok && (filled == 0 || flush());
}

bool EditableDocument::SaveViaTempFile(const std::u16string& target, const ProgressCallback& progress,
                                       const CancelCheck& cancel) {
    // Beside the target, so that the replace is a rename on one volume.
    std::u16string directory = platform::ParentDirectory(target);
    if (directory.empty()) directory = u".";
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
    EnsurePieces();
    if (!CopyDocument(out, progress, cancel) || !out.Flush()) {
        SetErrorFromSystem();
        out.Close();
        platform::RemoveFile(tempPath);
        return false;
    }
    out.Close();

    const std::u16string opened = file_.GetPath();
    const bool replacesOwnFile = target == platform::ResolveLinks(opened);
    if (replacesOwnFile && !platform::ReplacesOpenFiles()) file_.Close();
    if (!platform::ReplaceKeepingMetadata(tempPath, target)) {
        SetErrorFromSystem();
        if (file_.IsOpen() || file_.Open(opened)) {
            platform::RemoveFile(tempPath);
            return false;
        }
        // Neither the new file nor the old one: the document becomes the temporary file, which
        // holds every change.
        AddSentence(lastError_, u"Your changes were kept in " + tempPath + u".");
        DropEdits();
        (void)file_.Open(tempPath);
        return false;
    }
    return FinishSave(replacesOwnFile ? opened : target);
}

}  // namespace tvx
