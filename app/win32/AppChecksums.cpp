// Tools > Checksums: the digests of the selection, or of the whole document, shown in the
// Checksums dialog.

#include "app/HexOffset.h"
#include "app/win32/AppWindow.h"
#include "app/win32/ChecksumsDialog.h"
#include "checksum/Checksum.h"

#include <string>

namespace tvx {
namespace {

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

// Runs on this thread with the progress and cancel of a search (Escape stops it).
void AppWindow::ShowChecksums() {
    if (!document_.IsOpen() || busy_) return;
    const HexView& view = hexView_.View();
    const bool selection = view.SelectionActive();
    const std::uint64_t offset = selection ? view.SelectionStart() : 0;
    const std::uint64_t length = selection ? view.SelectionEnd() - offset + 1 : document_.GetSize();

    const bool viewHadFocus = HoldInput();
    BeginWorkProgress("status.checksums");
    bool cancelled = false;
    const ChecksumResult result = ComputeChecksums(
        document_, offset, length, kChecksumAlgorithms, [&] { return CheckSearchCancel(&cancelled); },
        [this](std::size_t done, std::size_t total) { OnWorkProgress(done, total); });
    EndSearchProgress();
    ReleaseInput(viewHadFocus);

    switch (result.status) {
        case ChecksumStatus::Cancelled: return;
        case ChecksumStatus::ReadFailed: return ShowError("error.checksum_read_failed");
        case ChecksumStatus::HashFailed: return ShowError("error.checksum_failed");
        case ChecksumStatus::Done: break;
    }
    std::vector<ChecksumRow> rows;
    for (std::size_t i = 0; i < result.digests.size(); ++i)
        rows.push_back({Ascii(ChecksumName(kChecksumAlgorithms[i])), Ascii(result.digests[i])});
    const std::u16string count = Ascii(std::to_string(length)) + u" " + Text("dialog.checksums.bytes");
    const std::u16string range = selection ? Text("dialog.checksums.selection") + u" 0x" + FormatHexOffset(offset) +
                                                 u", " + count
                                           : Text("dialog.checksums.document") + u" " + count;
    RunChecksumsDialog(window_, instance_,
                       {Text("dialog.checksums.title"), range, Text("dialog.checksums.copy"), Text("dialog.common.close")},
                       rows);
}

}  // namespace tvx
