// Saving the edited document: patching the file in place, or writing a temporary file that
// replaces it.

#include "document/EditableDocument.h"
#include "document/Win32Error.h"

#include <algorithm>
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

bool WriteAll(const platform::FileHandle& handle, const std::vector<std::uint8_t>& bytes) {
    return WriteAll(handle, bytes.data(), bytes.size());
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
    const std::uint64_t fileSize = file_.GetSize();
    const bool onlyAppended = runs_.empty() || (runs_.size() == 1 && runs_.begin()->first == fileSize);
    // The set is ordered and holds offsets below the file size, so N deletions are the last N
    // offsets exactly when the smallest is fileSize - N.
    const bool onlyTruncated = deleted_.empty() || *deleted_.begin() == fileSize - deleted_.size();
    return onlyAppended && onlyTruncated;
}

std::vector<EditableDocument::Overwrite> EditableDocument::SortedOverwrites() const {
    std::vector<Overwrite> sorted;
    sorted.reserve(overwritten_.size());
    for (const auto& [offset, value] : overwritten_) sorted.push_back({offset, value});
    std::sort(sorted.begin(), sorted.end(), [](const Overwrite& a, const Overwrite& b) { return a.offset < b.offset; });
    return sorted;
}

void EditableDocument::SetErrorFromSystem() {
    if (lastError_.empty()) lastError_ = FormatWin32Error(platform::LastError());
}

bool EditableDocument::FinishSave(const std::u16string& path) {
    runs_.clear();
    deleted_.clear();
    overwritten_.clear();
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

    const auto writeChanges = [&]() {
        const std::vector<Overwrite> overwrites = SortedOverwrites();
        for (std::size_t i = 0; i < overwrites.size();) {
            // One seek and one write per run of consecutive offsets.
            const std::uint64_t first = overwrites[i].offset;
            std::vector<std::uint8_t> group;
            while (i < overwrites.size() && overwrites[i].offset == first + group.size())
                group.push_back(overwrites[i++].value);
            if (!out.Seek(first) || !WriteAll(out, group)) return false;
            reporter.Report(first + group.size());
        }
        if (!runs_.empty()) {
            const auto& [key, run] = *runs_.begin();
            if (key != file_.GetSize()) return false;
            if (!out.Seek(file_.GetSize() - deleted_.size()) || !WriteAll(out, run)) return false;
            reporter.ReportDone();
        }
        if (!deleted_.empty()) {
            if (!out.Seek(GetLogicalSize()) || !out.SetEnd()) return false;
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

bool EditableDocument::CopyMergedDocument(const platform::FileHandle& out, std::uint64_t logicalSize,
                                          const ProgressCallback& progress) {
    const ProgressReporter reporter(progress, logicalSize);
    const std::vector<Overwrite> overwrites = SortedOverwrites();
    const std::uint64_t fileSize = file_.GetSize();
    auto run = runs_.begin();
    auto deleted = deleted_.begin();
    std::size_t overwrite = 0;
    std::uint64_t pos = 0;
    std::uint64_t written = 0;

    const auto runAt = [&](std::uint64_t at) { return run != runs_.end() && run->first == at; };
    const auto emit = [&](const std::uint8_t* bytes, std::uint64_t length) {
        if (!WriteAll(out, bytes, length)) return false;
        written += length;
        reporter.Report(written);
        return true;
    };

    for (;;) {
        for (; runAt(pos); ++run)
            if (!emit(run->second.data(), run->second.size())) return false;
        while (deleted != deleted_.end() && *deleted < pos) ++deleted;
        while (overwrite < overwrites.size() && overwrites[overwrite].offset < pos) ++overwrite;
        if (pos >= fileSize) return true;

        if (deleted != deleted_.end() && *deleted == pos) {
            ++pos;
            ++deleted;
            continue;
        }
        if (overwrite < overwrites.size() && overwrites[overwrite].offset == pos) {
            std::vector<std::uint8_t> group;
            do {
                group.push_back(overwrites[overwrite++].value);
                ++pos;
            } while (overwrite < overwrites.size() && overwrites[overwrite].offset == pos && !runAt(pos) &&
                     !deleted_.contains(pos));
            if (!emit(group.data(), group.size())) return false;
            continue;
        }
        // A stretch of unchanged file bytes, up to the next edit of any kind.
        std::uint64_t end = fileSize;
        if (run != runs_.end()) end = std::min(end, run->first);
        if (deleted != deleted_.end()) end = std::min(end, *deleted);
        if (overwrite < overwrites.size()) end = std::min(end, overwrites[overwrite].offset);
        while (pos < end) {
            const std::uint64_t piece = std::min(end - pos, kCopyBlock);
            platform::ClearLastError();
            const ByteBlock block = file_.ReadBytes(pos, piece);
            if (block.bytes.size() != piece) return false;
            if (!emit(block.bytes.data(), piece)) return false;
            pos += piece;
        }
    }
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
    if (!CopyMergedDocument(out, GetLogicalSize(), progress) || !out.Flush()) {
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
