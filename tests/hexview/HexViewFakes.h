#pragma once
// Stand-ins for the hex view's window and text stack, and an in-memory document.

#include "document/DocumentInterfaces.h"
#include "hexview/HexMeasurer.h"
#include "hexview/HexViewHost.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tvx::test {

// A document held in memory, its history kept as whole copies. Edits can be made to fail;
// size can be faked far beyond what is stored (bytes past the stored ones read as offset & 0xFF).
class MemoryDocument final : public IUndoableDocument {
public:
    explicit MemoryDocument(std::vector<std::uint8_t> bytes = {}, bool open = true)
        : bytes_(std::move(bytes)), open_(open) {}

    bool IsOpen() const override { return open_; }
    std::uint64_t GetSize() const override { return fakeSize_ ? *fakeSize_ : bytes_.size(); }
    std::u16string GetPath() const override { return open_ ? u"C:\\data\\file.bin" : u""; }
    ByteBlock ReadBytes(std::uint64_t offset, std::uint64_t count) const override;
    bool OverwriteByte(std::uint64_t offset, std::uint8_t value) override;
    bool InsertByte(std::uint64_t offset, std::uint8_t value) override;
    bool DeleteByte(std::uint64_t offset) override;
    bool IsModified() const override { return modified_; }
    std::uint64_t GetLogicalSize() const override { return GetSize(); }
    bool InsertBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    bool OverwriteBytes(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    bool DeleteBytes(std::uint64_t offset, std::uint64_t count) override;
    bool InsertRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) override;
    bool OverwriteRepeated(std::uint64_t offset, std::uint64_t count, std::span<const std::uint8_t> pattern) override;
    bool ReplaceEach(std::span<const std::uint64_t> offsets, std::uint64_t length,
                     std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> held) override;
    void BeginEditGroup() override { ++depth_; }
    void EndEditGroup() override;
    bool CanUndo() const override { return !undo_.empty(); }
    bool CanRedo() const override { return !redo_.empty(); }
    std::optional<EditRange> Undo() override;
    std::optional<EditRange> Redo() override;

    std::vector<std::uint8_t> bytes_;
    bool open_ = true;
    bool modified_ = false;
    bool failEdits_ = false;
    std::optional<std::uint64_t> fakeSize_;
    int depth_ = 0;
    int groupsEnded_ = 0;

private:
    struct Step {
        std::vector<std::uint8_t> before, after;
        EditRange undone, redone;  // where each direction leaves the step's bytes
    };
    bool Edit(std::uint64_t offset, std::uint64_t removed, std::span<const std::uint8_t> bytes, bool insert);
    std::vector<Step> undo_, redo_;
    bool grouped_ = false;  // the open group already has its step
};

struct HostEvent {
    int invalidates = 0;
    int documentChanged = 0;
    int readOnlyBlocked = 0;
    int viewStatusChanged = 0;
    int releases = 0;
};

class FakeHost final : public IHexViewHost {
public:
    std::int32_t ClientWidth() const override { return width; }
    std::int32_t ClientHeight() const override { return height; }
    std::uint32_t WindowDpi() const override { return dpi; }
    void Invalidate() override { ++events.invalidates; }
    void ReleaseDeviceResources() override { ++events.releases; }
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
    std::optional<std::u16string> ClipboardText() override { return clipboard.empty() ? std::nullopt : std::optional(clipboard.back()); }
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
    std::optional<float> lineHeight = 15.0f;
    float advance = 10.0f;
    std::map<char16_t, float> wide;
    std::u16string failing;
    HexFont preparedFont;
    float preparedSize = 0;
};

}  // namespace tvx::test
