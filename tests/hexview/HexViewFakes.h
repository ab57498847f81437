#pragma once
// Stand-ins for the hex view's window, text stack and document, and a view over them with
// round numbers: cells 10 DIPs, rows 22 DIPs, offset column 90, hex column 480, text column
// 160; 980 x 700 pixels at 96 DPI show 31 rows.

#include "document/DocumentInterfaces.h"
#include "hexview/HexView.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace tvx::test {

using Bytes = std::vector<std::uint8_t>;

// A document held in memory, its history kept as whole copies. Edits can be made to fail;
// size can be faked far beyond what is stored (bytes past the stored ones read as offset & 0xFF).
class MemoryDocument final : public IUndoableDocument {
public:
    explicit MemoryDocument(Bytes bytes = {}) : bytes_(std::move(bytes)) {}

    bool IsOpen() const override { return open_; }
    std::uint64_t GetSize() const override { return fakeSize_ ? *fakeSize_ : bytes_.size(); }
    std::u16string GetPath() const override { return u"memory"; }
    ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const override {
        ByteBlock block{offset, {}};
        for (std::uint64_t p = offset; open_ && p < GetSize() && p - offset < count; ++p)
            block.bytes.push_back(p < bytes_.size() ? bytes_[p] : static_cast<std::uint8_t>(p));
        return block;
    }
    bool OverwriteByte(std::uint64_t offset, std::uint8_t value) override {
        return offset < bytes_.size() && Splice(offset, 1, Bytes{value});
    }
    bool InsertByte(std::uint64_t offset, std::uint8_t value) override { return Splice(offset, 0, Bytes{value}); }
    bool DeleteByte(std::uint64_t offset) override { return Splice(offset, 1, {}); }
    bool IsModified() const override { return !undo_.empty(); }
    std::uint64_t GetLogicalSize() const override { return GetSize(); }
    bool InsertBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        return Splice(offset, 0, bytes);
    }
    bool OverwriteBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        return !bytes.empty() && Splice(offset, bytes.size(), bytes);
    }
    bool DeleteBytes(std::uint64_t offset, std::uint64_t count) override {
        return count != 0 && Splice(offset, count, {});
    }
    bool InsertRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) override {
        return !pattern.empty() && Splice(offset, 0, Repeated(count, pattern));
    }
    bool OverwriteRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) override {
        return !pattern.empty() && Splice(offset, count, Repeated(count, pattern));
    }
    bool ReplaceEach(std::span<const std::uint64_t>, std::uint64_t, std::span<const std::uint8_t>,
                     std::span<const std::uint8_t>) override {
        return false;  // the view never replaces
    }
    void BeginEditGroup() override { ++depth_; }
    void EndEditGroup() override {
        if (depth_ > 0 && --depth_ == 0) grouped_ = false;
    }
    bool CanUndo() const override { return !undo_.empty(); }
    bool CanRedo() const override { return !redo_.empty(); }
    std::optional<EditRange> Undo() override { return Replay(undo_, redo_, true); }
    std::optional<EditRange> Redo() override { return Replay(redo_, undo_, false); }

    Bytes bytes_;
    bool open_ = true;
    bool failEdits_ = false;
    std::optional<std::uint64_t> fakeSize_;

private:
    struct Step {
        Bytes before, after;
        EditRange undone, redone;  // where each direction leaves the step's bytes
    };
    static Bytes Repeated(std::uint64_t count, std::span<const std::uint8_t> pattern) {
        Bytes bytes;
        for (std::uint64_t i = 0; i < count; ++i) bytes.push_back(pattern[i % pattern.size()]);
        return bytes;
    }
    // Replaces removed bytes at offset by bytes; within an open group the step grows.
    bool Splice(std::uint64_t offset, std::uint64_t removed, std::span<const std::uint8_t> bytes) {
        if (failEdits_ || !open_ || offset > bytes_.size() || bytes_.size() - offset < removed) return false;
        if (!grouped_) undo_.push_back({bytes_, {}, {offset, removed}, {}});
        grouped_ = depth_ > 0;
        const auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        bytes_.insert(bytes_.erase(at, at + static_cast<std::ptrdiff_t>(removed)), bytes.begin(), bytes.end());
        undo_.back().after = bytes_;
        undo_.back().redone = {offset, bytes.size()};
        redo_.clear();
        return true;
    }
    std::optional<EditRange> Replay(std::vector<Step>& from, std::vector<Step>& to, bool undo) {
        depth_ = 0;
        grouped_ = false;
        if (from.empty()) return std::nullopt;
        to.push_back(from.back());
        from.pop_back();
        bytes_ = undo ? to.back().before : to.back().after;
        return undo ? to.back().undone : to.back().redone;
    }
    std::vector<Step> undo_, redo_;
    int depth_ = 0;
    bool grouped_ = false;  // the open group already has its step
};

struct HostEvent {
    int invalidates = 0;
    int documentChanged = 0;
    int readOnlyBlocked = 0;
    int viewStatusChanged = 0;
};

class FakeHost final : public IHexViewHost {
public:
    std::int32_t ClientWidth() const override { return width; }
    std::int32_t ClientHeight() const override { return height; }
    std::uint32_t WindowDpi() const override { return dpi; }
    void Invalidate() override { ++events.invalidates; }
    void ReleaseDeviceResources() override {}
    void SetScrollBars(const ScrollBarState& v, const ScrollBarState& h) override {
        vertical = v;
        horizontal = h;
    }
    void TakeFocus() override { ++focusRequests; }
    void CaptureMouse() override { captured = true; }
    void ReleaseMouse() override { captured = false; }
    void StartBlinkTimer() override { timerRunning = true; }
    void StopBlinkTimer() override { timerRunning = false; }
    void CopyToClipboard(const std::u16string& text) override { clipboard.push_back(text); }
    bool ConfirmLargeCopy(std::uint64_t bytes) override {
        largeCopyQuestions.push_back(bytes);
        return largeCopyAllowed;
    }
    void PostCopyFailed() override { ++copyFailures; }
    std::optional<std::u16string> ClipboardText() override {
        return clipboard.empty() ? std::nullopt : std::optional(clipboard.back());
    }
    void PostDocumentChanged() override { ++events.documentChanged; }
    void PostReadOnlyBlocked() override { ++events.readOnlyBlocked; }
    void SendViewStatusChanged() override { ++events.viewStatusChanged; }
    void PostPasteRefused(PasteRefusal reason) override { refusals.push_back(reason); }

    std::int32_t width = 980;
    std::int32_t height = 700;
    std::uint32_t dpi = 96;
    HostEvent events;
    ScrollBarState vertical, horizontal;
    int focusRequests = 0;
    bool captured = false;
    bool timerRunning = false;
    std::vector<std::u16string> clipboard;
    std::vector<PasteRefusal> refusals;
    std::vector<std::uint64_t> largeCopyQuestions;
    bool largeCopyAllowed = false;
    int copyFailures = 0;
};

// Fixed measurements: every character is `advance` wide unless listed in `wide`.
class FakeMeasurer final : public IHexMeasurer {
public:
    bool Prepare(const HexFont& font, float size) override {
        preparedFont = font;
        preparedSize = size;
        return available;
    }
    std::optional<float> LineHeight() override { return lineHeight; }
    std::optional<float> Advance(char16_t c) override {
        if (failing.find(c) != std::u16string::npos) return std::nullopt;
        const auto it = wide.find(c);
        return it != wide.end() ? it->second : advance;
    }

    bool available = true;
    std::optional<float> lineHeight = 19.6f;
    float advance = 10.0f;
    std::map<char16_t, float> wide;
    std::u16string failing;
    HexFont preparedFont;
    float preparedSize = 0;
};

class HexViewTest : public ::testing::Test {
protected:
    // Opens a document of `size` bytes 0, 1, 2, ... and forgets the events so far.
    void Open(std::size_t size) {
        document.bytes_.resize(size);
        std::iota(document.bytes_.begin(), document.bytes_.end(), std::uint8_t{0});
        view.SetDocument(&document);
        host.events = {};
    }
    void Editable() {
        view.SetEditingEnabled(true);
        host.events = {};
    }
    void InsertMode() {
        Editable();
        ASSERT_TRUE(view.KeyDown(HexKey::Insert, false));
        host.events = {};
    }

    FakeHost host;
    FakeMeasurer measurer;
    HexView view{host, measurer};
    MemoryDocument document;
};

}  // namespace tvx::test
