#pragma once
// The Checksums dialog ("Tavro.ChecksumsDialog"): one row per algorithm with its digest and a
// Copy button that puts the digest on the clipboard, and Close.

#include <windows.h>

#include <string>
#include <vector>

namespace tvx {

struct ChecksumRow {
    std::u16string name;
    std::u16string digest;
};

struct ChecksumsDialogTexts {
    std::u16string title, range, copy, close;
};

void RunChecksumsDialog(HWND owner, HINSTANCE instance, const ChecksumsDialogTexts& texts,
                        const std::vector<ChecksumRow>& rows);

}  // namespace tvx
