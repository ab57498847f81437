#pragma once
// The edit layer against the simplest model there is: a byte vector edited in place, each byte
// knowing the file byte it stands on (if any) and whether it differs from it, with its history
// kept as whole copies. Modified state and changed ranges follow from the origins. Its choices
// come from a source with Below(n) (a random generator in the unit test, the input in the fuzz
// target) and each disagreement goes to a callback, so that both can drive it.

#include "document/EditGroup.h"
#include "document/EditableDocument.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tvx::test {

// The part of all that starts at offset and is at most count long, cut at the end.
template <typename T>
std::vector<T> Part(const std::vector<T>& all, std::uint64_t offset, std::uint64_t count) {
    const auto begin = all.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(offset, all.size()));
    return {begin, begin + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(count, all.end() - begin))};
}

template <class Choices>
class EditModel {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Failure = std::function<void(const std::string&)>;

    // The document is open over file; expected is what it holds now.
    EditModel(EditableDocument& document, std::filesystem::path file, Bytes expected, Choices& choices,
              Failure fail)
        : document_(document), path_(std::move(file)), bytes_(std::move(expected)), file_(OnDisk()),
          choices_(choices), fail_(std::move(fail)) {}

    // A random user action (an edit, a group of edits, an undo or a redo; opening or closing a
    // group that spans actions; a save if allowed), then a random read and changed-range query.
    void RandomStep(bool keepPositions, bool saves) {
        const auto choice = Below(saves ? 13 : 12);
        if (choice < 2) {
            const bool undo = choice == 0;
            auto& from = undo ? undo_ : redo_;
            auto& to = undo ? redo_ : undo_;
            CloseGroup();
            const std::optional<EditRange> range = undo ? document_.Undo() : document_.Redo();
            Expect(range.has_value() == !from.empty(), undo ? "undo" : "redo");
            if (range && !from.empty()) {
                to.push_back({bytes_, from_});
                std::tie(bytes_, from_) = from.back();
                from.pop_back();
                Expect(range->offset + range->length <= bytes_.size(), "range of the undone edit");
            }
        } else if (choice == 10) {
            document_.BeginEditGroup();
            ++depth_;
        } else if (choice == 11) {
            document_.EndEditGroup();
            if (depth_ > 0 && --depth_ == 0) CloseGroup();
        } else if (choice == 12) {
            Save();
        } else {
            const State before{bytes_, from_};
            bool changed = false;
            if (choice == 2 && !keepPositions) {
                EditGroup group(document_);
                for (auto i = Below(5); i > 0; --i) changed = RandomEdit(false) || changed;
            } else {
                changed = RandomEdit(keepPositions);
            }
            if (changed) Record(before);
        }
        const std::uint64_t size = bytes_.size(), offset = Below(size + 2), count = Below(40);
        Expect(document_.GetLogicalSize() == size && document_.GetSize() == size, "size");
        Expect(document_.CanUndo() == (!undo_.empty() || groupStart_.has_value()), "can undo");
        Expect(document_.CanRedo() == !redo_.empty(), "can redo");
        const ByteBlock block = document_.ReadBytes(offset, count);
        Expect(block.offset == offset && block.bytes == Part(bytes_, offset, count), "read ", count, " at ", offset);
        const Origins range = Part(from_, offset, count);
        const auto changed = [](const Origin& origin) { return origin.changed; };
        Expect(document_.IsChangedRange(offset, count) == std::any_of(range.begin(), range.end(), changed),
               "changed range ", count, " at ", offset);
        const auto fromFile = std::count_if(from_.begin(), from_.end(), [](const Origin& o) { return o.file >= 0; });
        Expect(document_.IsModified() == (std::any_of(from_.begin(), from_.end(), changed) ||
                                          fromFile != std::ssize(file_)),
               "modified");
    }

    // Saves and compares the file, with at least the given number of progress reports; a save
    // that wrote something starts an empty history.
    void Save(std::size_t minimumReports = 0) {
        const bool writes = document_.IsModified(), copies = !document_.SavesInPlace();
        const std::size_t total = std::max<std::size_t>(bytes_.size(), 1);
        std::size_t last = 0, reports = 0;
        Expect(document_.Save([&](std::size_t done, std::size_t reported) {
            Expect(reported == total && last <= done && done <= total, "progress ", done, " of ", reported);
            last = done;
            ++reports;
        }), "save");
        Expect(reports >= minimumReports, "progress reports");
        Expect(!writes || !copies || last == total, "last progress");
        Expect(!document_.IsModified() && document_.GetSize() == bytes_.size(), "saved state");
        Expect(OnDisk() == bytes_ && ReadAll() == bytes_, "saved bytes");
        Expect(document_.GetPath() == path_.u16string(), "path");
        for (const auto& entry : std::filesystem::directory_iterator(path_.parent_path()))
            Expect(entry.path().filename() == path_.filename(), "temporary file left");
        if (!writes) return;
        file_ = bytes_;
        from_ = Unchanged(bytes_.size());
        undo_.clear();
        redo_.clear();
        groupStart_.reset();
        depth_ = 0;
        Expect(!document_.CanUndo(), "history after save");
    }

    void CheckAll() { Expect(ReadAll() == bytes_, "all bytes"); }

private:
    // The file byte under a document byte (-1: inserted) and whether the document byte is new;
    // small, as the history keeps a copy per byte and step.
    struct Origin {
        std::int32_t file : 31;
        bool changed : 1;
    };
    using Origins = std::vector<Origin>;
    using State = std::pair<Bytes, Origins>;

    static Origins Unchanged(std::size_t size) {
        Origins origins(size);
        for (std::size_t i = 0; i < size; ++i) origins[i] = {static_cast<std::int32_t>(i), false};
        return origins;
    }

    template <class... What>
    void Expect(bool holds, const What&... what) {
        if (holds) return;
        std::ostringstream text;
        (text << ... << what);
        fail_(text.str());
    }

    std::uint64_t Below(std::uint64_t n) { return choices_.Below(n); }
    Bytes RandomBytes(std::size_t count) {
        Bytes bytes(count);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(Below(256));
        return bytes;
    }
    Bytes OnDisk() const {
        std::ifstream file(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    Bytes ReadAll() const { return document_.ReadBytes(0, document_.GetSize()).bytes; }

    // An edit that changed the bytes: its undo step, or the open group's if it is the first.
    void Record(const State& before) {
        redo_.clear();
        if (depth_ == 0)
            undo_.push_back(before);
        else if (!groupStart_)
            groupStart_ = before;
    }
    // Undo and redo close an open group.
    void CloseGroup() {
        depth_ = 0;
        if (groupStart_) undo_.push_back(std::move(*groupStart_));
        groupStart_.reset();
    }

    // One random edit applied to both; the verdicts must agree. Offsets run to size + 1 so that
    // refusals at and beyond the end are tried. Returns whether the bytes changed.
    bool RandomEdit(bool keepPositions) {
        const std::uint64_t size = bytes_.size();
        const auto kind = Below(keepPositions ? 3 : 6);
        if (kind == 5) return RandomReplaceEach();
        std::uint64_t offset = Below(size + 2);
        if (keepPositions && kind != 0) offset = kind == 1 ? size : (size ? size - 1 : 0);  // append, truncate
        const bool single = keepPositions || Below(2);
        Bytes bytes = RandomBytes(single ? 1 : Below(13));
        if (kind == 0 && offset < size && from_[offset].file >= 0 && !bytes.empty() && Below(3) == 0)
            bytes[0] = file_[from_[offset].file];  // the file's own value written back
        const Bytes pattern = RandomBytes(1 + Below(4));
        if (kind >= 3) {  // a pattern of 1 to 4 bytes repeated over up to 40 bytes
            bytes.resize(Below(41));
            for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = pattern[i % pattern.size()];
        }
        const std::uint64_t count = bytes.size();
        const auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(offset, size));
        const bool inserts = kind == 1 || kind == 3, fits = inserts ? offset <= size : offset + count <= size;
        const bool result =
            kind == 0   ? (single ? document_.OverwriteByte(offset, bytes[0]) : document_.OverwriteBytes(offset, bytes))
            : kind == 1 ? (single ? document_.InsertByte(offset, bytes[0]) : document_.InsertBytes(offset, bytes))
            : kind == 2 ? (single ? document_.DeleteByte(offset) : document_.DeleteBytes(offset, count))
            : kind == 3 ? document_.InsertRepeated(offset, count, pattern)
                        : document_.OverwriteRepeated(offset, count, pattern);
        Expect(result == fits, "edit ", kind, " of ", count, " at ", offset, " in ", size);
        if (!fits) return false;
        const auto from = from_.begin() + (at - bytes_.begin());
        if (inserts) {
            bytes_.insert(at, bytes.begin(), bytes.end());
            from_.insert(from, count, Origin{-1, true});
        } else if (kind == 2) {
            bytes_.erase(at, at + static_cast<std::ptrdiff_t>(count));
            from_.erase(from, from + static_cast<std::ptrdiff_t>(count));
        } else {
            Overwrite(offset, bytes, kind == 4);
        }
        return count > 0;
    }

    // Equal ranges replaced by one run of bytes, at random spots; one range in eight overlaps
    // the one before it, and one list in eight ends past the end: the edit must then be refused.
    bool RandomReplaceEach() {
        const std::uint64_t size = bytes_.size(), length = Below(5);
        const Bytes bytes = RandomBytes(Below(6));
        std::vector<std::uint64_t> offsets;
        bool valid = true;
        for (std::uint64_t at = Below(size + 1); at + length <= size && offsets.size() < 8;) {
            if (!offsets.empty() && Below(8) == 0) {
                at = offsets.back() + (length ? Below(length) : 0);
                valid = false;
            }
            offsets.push_back(at);
            at += length + Below(20) + (length == 0);
        }
        if (Below(8) == 0) {
            offsets.push_back(size - std::min(length, size) + 1 + Below(2));
            valid = false;
        }
        Expect(document_.ReplaceEach(offsets, length, bytes, {}) == valid, "replace ", offsets.size());
        if (!valid) return false;
        // The first bytes overwrite the range's start, the rest of the range goes, the rest of
        // the bytes is inserted.
        const std::size_t common = std::min<std::size_t>(length, bytes.size());
        for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
            Overwrite(*offset, Bytes(bytes.begin(), bytes.begin() + common), false);
            const auto at = static_cast<std::ptrdiff_t>(*offset + common);
            bytes_.erase(bytes_.begin() + at, bytes_.begin() + at + static_cast<std::ptrdiff_t>(length - common));
            from_.erase(from_.begin() + at, from_.begin() + at + static_cast<std::ptrdiff_t>(length - common));
            bytes_.insert(bytes_.begin() + at, bytes.begin() + common, bytes.end());
            from_.insert(from_.begin() + at, bytes.size() - common, Origin{-1, true});
        }
        return !offsets.empty() && (length > 0 || !bytes.empty());
    }

    // A file byte overwritten with its own value is the file's again, unless the bytes are a
    // repeated pattern, which never reads the file; inserted bytes stay inserted.
    void Overwrite(std::uint64_t offset, const Bytes& bytes, bool repeated) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            Origin& origin = from_[offset + i];
            bytes_[offset + i] = bytes[i];
            if (origin.file >= 0) origin.changed = repeated || file_[origin.file] != bytes[i];
        }
    }

    EditableDocument& document_;
    std::filesystem::path path_;
    Bytes bytes_, file_;
    Origins from_ = Unchanged(bytes_.size());
    Choices& choices_;
    Failure fail_;
    std::vector<State> undo_, redo_;
    std::optional<State> groupStart_;  // the state before the open group's first edit
    int depth_ = 0;
};

}  // namespace tvx::test
