// The Struct View's mouse, keyboard and scroll-bar handling, the value format menu and copy.

#include "inspector/win32/ClipboardText.h"
#include "structview/StructViewMessages.h"
#include "structview/ValueFormatChoice.h"
#include "structview/win32/StructViewWindow.h"

namespace tvx {

void StructViewWindow::OnButtonDown(int x, int y) {
    SetFocus(window_);
    const StructColumnEdges edges = Edges();
    if (Loaded() && ValueFormatButton(edges, summaryHeight_).Contains(x, y)) {
        ShowValueFormatMenu();
        return;
    }
    const int divider = HitColumnDivider(edges, x, y, summaryHeight_, Loaded());
    if (divider >= 0) {
        dragColumn_ = divider;
        dragStartX_ = x;
        dragStartWidths_ = columnWidths_;
        dragging_ = true;
        SetCapture(window_);
        return;
    }
    if (!Loaded()) return;
    if (const std::optional<int> row = RowAtY(y, summaryHeight_, verticalPosition_, rows_.size())) SelectRow(*row);
}

void StructViewWindow::OnMouseMove(int x, int y) {
    if (!dragging_) {
        if (HitColumnDivider(Edges(), x, y, summaryHeight_, Loaded()) >= 0)
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return;
    }
    columnWidths_ = DragColumn(dragStartWidths_, dragColumn_, dragStartX_, x);
    content_ = ComputeContentSize(columnWidths_, rows_.size(), Loaded());
    UpdateScrollBars();
    Redraw();
}

bool StructViewWindow::OnDoubleClick(int x, int y) {
    const int divider = HitColumnDivider(Edges(), x, y, summaryHeight_, Loaded());
    if (divider < 0) return false;
    columnWidths_[static_cast<std::size_t>(divider)] = kInitialColumnWidths[static_cast<std::size_t>(divider)];
    if (dragging_) ReleaseCapture();  // ends the drag through WM_CAPTURECHANGED
    EndDrag();
    content_ = ComputeContentSize(columnWidths_, rows_.size(), Loaded());
    UpdateScrollBars();
    Redraw();
    return true;
}

void StructViewWindow::EndDrag() {
    dragging_ = false;
    dragColumn_ = -1;
}

bool StructViewWindow::OnKeyDown(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const SIZE client = ClientSize();
    const int page = KeyboardPage(static_cast<int>(client.cy), summaryHeight_);
    switch (key) {
        case VK_UP:
            if (selectedRow_ >= 1) SelectRow(selectedRow_ - 1);
            return true;
        case VK_DOWN:
            if (selectedRow_ + 1 < static_cast<int>(rows_.size())) SelectRow(selectedRow_ + 1);
            return true;
        case VK_PRIOR: ScrollTo(horizontalPosition_, verticalPosition_ - page); return true;
        case VK_NEXT: ScrollTo(horizontalPosition_, verticalPosition_ + page); return true;
        case VK_HOME: ScrollTo(0, 0); return true;
        case VK_END: ScrollTo(content_.width, content_.height); return true;
        case VK_F5: PostToOwner(kAppStructViewReload); return true;
        case 'C':
        case VK_INSERT:
            if (!control) return false;
            CopyTable();
            return true;
        default: return false;
    }
}

void StructViewWindow::OnScroll(int bar, WORD request) {
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window_, bar, &info);
    const int line = bar == SB_VERT ? kStructLineScroll : kStructColumnScroll;
    const int page = static_cast<int>(info.nPage);
    int position = bar == SB_VERT ? verticalPosition_ : horizontalPosition_;
    switch (request) {
        case SB_LINEUP: position -= line; break;
        case SB_LINEDOWN: position += line; break;
        case SB_PAGEUP: position -= page; break;
        case SB_PAGEDOWN: position += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = info.nTrackPos; break;
        case SB_TOP: position = 0; break;
        case SB_BOTTOM: position = info.nMax; break;
        default: return;
    }
    if (bar == SB_VERT)
        ScrollTo(horizontalPosition_, position);
    else
        ScrollTo(position, verticalPosition_);
}

// Positions are clamped by UpdateScrollBars.
void StructViewWindow::ScrollTo(int horizontal, int vertical) {
    horizontalPosition_ = horizontal;
    verticalPosition_ = vertical;
    UpdateScrollBars();
    Redraw();
}

void StructViewWindow::SelectRow(int row) {
    if (row == selectedRow_) return;
    selectedRow_ = row;
    if (row < 0) {
        InvalidateRect(window_, nullptr, FALSE);
        return;
    }
    const SIZE client = ClientSize();
    const int page = VerticalScroll(content_.height, static_cast<int>(client.cy), summaryHeight_, 0).page;
    ScrollTo(horizontalPosition_, ScrollToShowRow(row, verticalPosition_, page));
}

void StructViewWindow::ShowValueFormatMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const std::array<const std::u16string*, 3> titles{&labels_.byteArrayMenu, &labels_.endianMenu,
                                                      &labels_.numericBaseMenu};
    const std::array<const std::u16string*, kValueFormatChoiceCount> choices{
        &labels_.byteArrayHex, &labels_.byteArrayAscii, &labels_.endianLittle,
        &labels_.endianBig,    &labels_.numericBaseHex, &labels_.numericBaseDec};
    for (int group = 0; group < 3; ++group) {
        HMENU submenu = CreatePopupMenu();
        if (!submenu) continue;
        for (int choice = 2 * group + 1; choice <= 2 * group + 2; ++choice) {
            const UINT id = kValueFormatMenuFirstId - 1 + static_cast<UINT>(choice);
            AppendMenuW(submenu, MF_STRING | (IsValueFormatChoiceChecked(format_, choice) ? MF_CHECKED : MF_UNCHECKED),
                        id, reinterpret_cast<const wchar_t*>(choices[static_cast<std::size_t>(choice - 1)]->c_str()));
        }
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                    reinterpret_cast<const wchar_t*>(titles[static_cast<std::size_t>(group)]->c_str()));
    }
    const PixelRect button = ValueFormatButton(Edges(), summaryHeight_);
    POINT point{button.left, button.bottom};
    ClientToScreen(window_, &point);
    const int chosen =
        static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window_, nullptr));
    DestroyMenu(menu);  // with its submenus
    const int choice = chosen - static_cast<int>(kValueFormatMenuFirstId) + 1;
    if (choice >= 1 && choice <= kValueFormatChoiceCount) PostToOwner(kAppStructFormat, static_cast<WPARAM>(choice));
}

void StructViewWindow::CopyTable() {
    const std::u16string text = BuildStructViewCopyText(labels_, state_, displayName_, message_, rows_);
    if (!text.empty()) (void)CopyTextToClipboard(window_, text);  // a busy clipboard copies nothing
}

}  // namespace tvx
