// libFuzzer target: the document against a model over a byte vector. The first byte gives the
// length of the file's initial bytes, which follow; every further byte is an operation
// (overwrite, insert or delete, one byte or many; equal ranges replaced at once; read; undo;
// redo; begin and end of a group; save) with its offset, length and bytes taken from the input. After each one the document's
// size, what it says about undo and being modified, and every read equal the model's; every
// save leaves exactly the model's bytes on disk and no temporary file in the folder.

#include "document/EditableDocument.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace {

using tvx::fuzz::Require;
using Bytes = std::vector<std::uint8_t>;

// The bytes with the number of the edit that made them, so that returning to the saved state
// can be told from reaching the same bytes by other edits.
struct State {
    Bytes bytes;
    std::uint64_t version = 0;
};

class Model {
public:
    explicit Model(Bytes file) : current_{file, 0}, saved_{std::move(file), 0} {}

    const Bytes& Current() const { return current_.bytes; }
    const Bytes& Saved() const { return saved_.bytes; }
    bool AtSavedState() const { return current_.version == saved_.version; }
    bool CanUndo() const { return !undo_.empty() || groupStart_.has_value(); }
    bool CanRedo() const { return !redo_.empty(); }

    // Called before a successful, non-empty edit changes Current().
    Bytes& Edit() {
        redo_.clear();
        if (depth_ == 0)
            undo_.push_back(current_);
        else if (!groupStart_)
            groupStart_ = current_;
        current_.version = ++versions_;
        return current_.bytes;
    }
    void Begin() { ++depth_; }
    void End() {
        if (depth_ > 0 && --depth_ == 0) CloseGroup();
    }
    bool Undo() { return Move(undo_, redo_); }
    bool Redo() { return Move(redo_, undo_); }
    void Saved(bool written) {
        if (!written) return;
        saved_ = current_;
        undo_.clear();
        redo_.clear();
        groupStart_.reset();
        depth_ = 0;
    }

private:
    void CloseGroup() {
        depth_ = 0;
        if (groupStart_) undo_.push_back(std::move(*groupStart_));
        groupStart_.reset();
    }
    bool Move(std::vector<State>& from, std::vector<State>& to) {
        CloseGroup();
        if (from.empty()) return false;
        to.push_back(std::move(current_));
        current_ = std::move(from.back());
        from.pop_back();
        return true;
    }

    State current_, saved_;
    std::vector<State> undo_, redo_;
    std::optional<State> groupStart_;  // the state before the open group's first edit
    int depth_ = 0;
    std::uint64_t versions_ = 0;
};

Bytes TakeBytes(tvx::fuzz::Input& input, std::size_t count) {
    Bytes bytes;
    while (bytes.size() < count && !input.Empty()) bytes.push_back(input.Byte());
    return bytes;
}

void Check(const tvx::EditableDocument& document, const Model& model) {
    Require(document.GetSize() == model.Current().size());
    Require(document.CanUndo() == model.CanUndo() && document.CanRedo() == model.CanRedo());
    if (model.Current() != model.Saved()) Require(document.IsModified());
    if (model.AtSavedState()) Require(!document.IsModified());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path = tvx::fuzz::ScratchFolder() / "document.bin";
    tvx::fuzz::Input input(data, size);
    const Bytes initial = TakeBytes(input, input.Byte());
    tvx::fuzz::WriteFile(path, std::string(initial.begin(), initial.end()));
    tvx::EditableDocument document;
    Require(document.File().Open(path.u16string()));
    Model model(initial);

    while (!input.Empty()) {
        const std::uint8_t operation = input.Byte();
        const std::uint64_t limit = model.Current().size() + 2;  // one offset past the end fails
        const auto offset = static_cast<std::size_t>(input.Byte() % limit);
        const std::size_t count = operation >> 4;  // 0 to 15
        const Bytes& current = model.Current();
        const bool fits = offset + count <= current.size();
        switch (operation % 13) {
        case 0: {  // overwrite
            const Bytes bytes = TakeBytes(input, count);
            const bool done = document.OverwriteBytes(offset, bytes);
            Require(done == (offset + bytes.size() <= current.size()));
            if (done && !bytes.empty()) std::copy(bytes.begin(), bytes.end(), model.Edit().begin() + offset);
            break;
        }
        case 1: {  // insert
            const Bytes bytes = TakeBytes(input, count);
            const bool done = document.InsertBytes(offset, bytes);
            Require(done == (offset <= current.size()));
            if (done && !bytes.empty()) {
                Bytes& edited = model.Edit();
                edited.insert(edited.begin() + static_cast<std::ptrdiff_t>(offset), bytes.begin(), bytes.end());
            }
            break;
        }
        case 2: {  // delete
            Require(document.DeleteBytes(offset, count) == fits);
            if (fits && count > 0) {
                Bytes& edited = model.Edit();
                edited.erase(edited.begin() + static_cast<std::ptrdiff_t>(offset),
                             edited.begin() + static_cast<std::ptrdiff_t>(offset + count));
            }
            break;
        }
        case 3: {  // the one-byte edits of typing
            const std::uint8_t value = input.Byte();
            const int kind = count % 3;
            const bool inRange = offset < current.size();
            if (kind == 0) {
                Require(document.OverwriteByte(offset, value) == inRange);
                if (inRange) model.Edit()[offset] = value;
            } else if (kind == 1) {
                Require(document.InsertByte(offset, value) == (offset <= current.size()));
                if (offset <= current.size()) {
                    Bytes& edited = model.Edit();
                    edited.insert(edited.begin() + static_cast<std::ptrdiff_t>(offset), value);
                }
            } else {
                Require(document.DeleteByte(offset) == inRange);
                if (inRange) {
                    Bytes& edited = model.Edit();
                    edited.erase(edited.begin() + static_cast<std::ptrdiff_t>(offset));
                }
            }
            break;
        }
        case 4:
        case 5: {  // read
            const tvx::ByteBlock block = document.ReadBytes(offset, count * 4 + 1);
            const std::size_t end = std::min(current.size(), offset + count * 4 + 1);
            Require(block.offset == offset);
            Require(block.bytes == (offset < end ? Bytes(current.begin() + static_cast<std::ptrdiff_t>(offset),
                                                         current.begin() + static_cast<std::ptrdiff_t>(end))
                                                   : Bytes()));
            break;
        }
        case 6: Require(document.Undo().has_value() == model.Undo()); break;
        case 7: Require(document.Redo().has_value() == model.Redo()); break;
        case 8:
        case 9:
            document.BeginEditGroup();
            model.Begin();
            break;
        case 10:
            document.EndEditGroup();
            model.End();
            break;
        case 12: {  // ranges of count % 5 bytes, each replaced by the same bytes
            const std::size_t length = count % 5;
            const Bytes bytes = TakeBytes(input, input.Byte() % 6);
            std::vector<std::uint64_t> offsets;
            bool valid = true;
            for (std::size_t at = offset, n = count % 4 + 1; n > 0; --n) {
                valid = valid && at + length <= current.size();
                offsets.push_back(at);
                at += length + input.Byte() % 8 + (length == 0);
            }
            Require(document.ReplaceEach(offsets, length, bytes, {}) == valid);
            if (valid && (length > 0 || !bytes.empty())) {
                Bytes& edited = model.Edit();
                for (auto at = offsets.rbegin(); at != offsets.rend(); ++at) {
                    const auto from = edited.begin() + static_cast<std::ptrdiff_t>(*at);
                    edited.insert(edited.erase(from, from + static_cast<std::ptrdiff_t>(length)), bytes.begin(),
                                  bytes.end());
                }
            }
            break;
        }
        case 11: {  // save
            const bool writes = document.IsModified();
            Require(document.Save({}));
            model.Saved(writes);
            Require(tvx::fuzz::ReadFile(path) == std::string(model.Current().begin(), model.Current().end()));
            for (const auto& entry : std::filesystem::directory_iterator(tvx::fuzz::ScratchFolder()))
                Require(entry.path() == path);
            break;
        }
        }
        Check(document, model);
    }
    return 0;
}
