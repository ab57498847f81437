#pragma once
// Stand-ins for the hex view's window and text stack, a document that can refuse edits, and a
// view over them with round numbers: cells 10 DIPs, rows 22 DIPs, offset column 90, hex column
// 480, text column 160; 980 x 700 pixels at 96 DPI show 31 rows.

#include "hexview/HexView.h"
#include "tests/document/OpenDocument.h"
#include "tests/search/MemoryDocument.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace tvx::test {

// The real document over a scratch file, whose edits can be made to fail.
class FakeDocument final : public IUndoableDocument {
public:
    using Span = std::span<const std::uint8_t>;
    explicit FakeDocument(const Bytes& bytes) : file_(bytes) {}

    bool IsOpen() const override { return Doc().IsOpen(); }
    std::uint64_t GetSize() const override { return Doc().GetSize(); }
    std::u16string GetPath() const override { return Doc().GetPath(); }
    ByteBlock ReadBytes(std::uint64_t at, std::uint64_t n) const override { return Doc().ReadBytes(at, n); }
    bool IsModified() const override { return Doc().IsModified(); }
    std::uint64_t GetLogicalSize() const override { return Doc().GetLogicalSize(); }
    bool OverwriteByte(std::uint64_t at, std::uint8_t value) override { return Ok() && Doc().OverwriteByte(at, value); }
    bool InsertByte(std::uint64_t at, std::uint8_t value) override { return Ok() && Doc().InsertByte(at, value); }
    bool DeleteByte(std::uint64_t at) override { return Ok() && Doc().DeleteByte(at); }
    bool InsertBytes(std::uint64_t at, Span bytes) override { return Ok() && Doc().InsertBytes(at, bytes); }
    bool OverwriteBytes(std::uint64_t at, Span bytes) override { return Ok() && Doc().OverwriteBytes(at, bytes); }
    bool DeleteBytes(std::uint64_t at, std::uint64_t count) override { return Ok() && Doc().DeleteBytes(at, count); }
    bool InsertRepeated(std::uint64_t at, std::uint64_t n, Span p) override {
        return Ok() && Doc().InsertRepeated(at, n, p);
    }
    bool OverwriteRepeated(std::uint64_t at, std::uint64_t n, Span p) override {
        return Ok() && Doc().OverwriteRepeated(at, n, p);
    }
    bool ReplaceEach(std::span<const std::uint64_t> offsets, std::uint64_t n, Span bytes, Span held) override {
        return Ok() && Doc().ReplaceEach(offsets, n, bytes, held);
    }
    void BeginEditGroup() override { Doc().BeginEditGroup(); }
    void EndEditGroup() override { Doc().EndEditGroup(); }
    bool CanUndo() const override { return Doc().CanUndo(); }
    bool CanRedo() const override { return Doc().CanRedo(); }
    std::optional<EditRange> Undo() override { return Doc().Undo(); }
    std::optional<EditRange> Redo() override { return Doc().Redo(); }

    Bytes ReadAll() const { return file_.ReadAll(); }
    bool failEdits = false;

private:
    bool Ok() const { return !failEdits; }
    EditableDocument& Doc() { return file_.document; }
    const EditableDocument& Doc() const { return file_.document; }
    OpenDocument file_;
};

struct HostEvent {
    int invalidates = 0, documentChanged = 0, readOnlyBlocked = 0, viewStatusChanged = 0;
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

    std::int32_t width = 980, height = 700;
    std::uint32_t dpi = 96;
    HostEvent events;
    ScrollBarState vertical, horizontal;
    int focusRequests = 0, copyFailures = 0;
    bool captured = false, timerRunning = false, largeCopyAllowed = false;
    std::vector<std::u16string> clipboard;
    std::vector<PasteRefusal> refusals;
    std::vector<std::uint64_t> largeCopyQuestions;
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
        Bytes bytes(size);
        std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
        auto next = std::make_unique<FakeDocument>(bytes);
        view.SetDocument(next.get());
        document = std::move(next);
        host.events = {};
    }
    void Editable() {
        view.SetEditingEnabled(true);
        host.events = {};
    }

    FakeHost host;
    FakeMeasurer measurer;
    HexView view{host, measurer};
    std::unique_ptr<FakeDocument> document;
};

}  // namespace tvx::test
