// The Struct View's painting: everything is drawn into an off-screen bitmap, then copied to
// the window in one step, so that scrolling and dragging do not flicker.

#include "inspector/SideWindowPalette.h"
#include "structview/win32/StructViewWindow.h"

#include <algorithm>

namespace tvx {
namespace {

constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

COLORREF Ref(Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT box{left, top, right, bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
    SetDCPenColor(dc, colour);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_PEN));
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
}

void Text(HDC dc, const std::u16string& text, int left, int top, int right, int bottom, UINT format = kCellText) {
    RECT box{left, top, right, bottom};
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &box, format);
}

}  // namespace

void StructViewWindow::Paint() {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window_, &ps);
    const SIZE client = ClientSize();
    const int width = std::max(1, static_cast<int>(client.cx));
    const int height = std::max(1, static_cast<int>(client.cy));
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    if (dc && bitmap) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, normalFont_);
        PaintTable(dc, width, height);
        BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    EndPaint(window_, &ps);
}

void StructViewWindow::PaintTable(HDC dc, int width, int height) const {
    const SideWindowPalette palette = SideWindowPaletteFor(theme_);
    const COLORREF text = Ref(palette.text);
    const COLORREF header = Ref(palette.header);
    const COLORREF grid = Ref(palette.grid);
    const int summary = summaryHeight_;

    Fill(dc, 0, 0, width, height, Ref(palette.background));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);

    Fill(dc, 0, 0, width, kStructToolbarHeight, header);
    Line(dc, 0, kStructToolbarHeight, width, kStructToolbarHeight, grid);
    SelectObject(dc, normalFont_);
    Text(dc, labels_.title, kStructMargin, 0, width - 200, 30);
    SelectObject(dc, smallFont_);
    SetTextColor(dc, Ref(MutedTextColor(palette.background, palette.text)));
    Text(dc, FormatDefinitionLine(labels_, displayName_), kStructMargin, 28, width - 200, kStructToolbarHeight);
    SetTextColor(dc, text);
    SelectObject(dc, normalFont_);

    if (summary > 0) {
        Fill(dc, 0, kStructToolbarHeight, width, summary + kStructToolbarHeight, header);
        Line(dc, 0, summary + kStructToolbarHeight, width, summary + kStructToolbarHeight, grid);
    }
    if (!Loaded()) return;

    const StructColumnEdges edges = Edges();
    const int bandTop = summary + kStructToolbarHeight;
    const int tableTop = summary + kStructHeaderBottom;
    Fill(dc, 0, bandTop, width, tableTop, header);
    Line(dc, 0, tableTop, width, tableTop, grid);
    const UINT heading = kCellText | DT_NOCLIP;
    Text(dc, labels_.offsetColumn, edges.Left(kOffsetColumn), bandTop, edges.Right(kOffsetColumn), tableTop, heading);
    Text(dc, labels_.valueColumn, edges.Left(kValueColumn), bandTop,
         std::max(edges.Left(kValueColumn), edges.Right(kValueColumn) - 24), tableTop, heading);
    Text(dc, labels_.sizeColumn, edges.Left(kSizeColumn), bandTop, edges.Right(kSizeColumn), tableTop, heading);
    Text(dc, labels_.nameColumn, edges.Left(kNameColumn), bandTop, edges.Right(kNameColumn), tableTop, heading);

    const PixelRect button = ValueFormatButton(edges, summary);
    Fill(dc, button.left, button.top, button.right, button.bottom, RGB(0xFF, 0xFF, 0xFF));
    SetDCPenColor(dc, RGB(0x20, 0x20, 0x20));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, button.left, button.top, button.right, button.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SetTextColor(dc, RGB(0, 0, 0));
    Text(dc, u"\u25BC", button.left, button.top, button.right, button.bottom,
         DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, text);

    for (int k = 0; k < 3; ++k) Line(dc, edges.Divider(k), bandTop, edges.Divider(k), height, grid);

    HRGN clip = CreateRectRgn(0, tableTop, width, height);
    SelectClipRgn(dc, clip);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int top = RowTop(static_cast<int>(i), summary, verticalPosition_);
        const int bottom = top + kStructRowHeight;
        if (bottom < tableTop) continue;
        if (top > height) break;
        if (static_cast<int>(i) == selectedRow_) Fill(dc, 0, top, width, bottom, Ref(palette.selection));
        Line(dc, 0, bottom, width, bottom, grid);
        const StructViewRow& row = rows_[i];
        Text(dc, row.offset, edges.Left(kOffsetColumn), top, edges.Right(kOffsetColumn), bottom);
        Text(dc, row.value, edges.Left(kValueColumn), top, edges.Right(kValueColumn), bottom);
        Text(dc, row.size, edges.Left(kSizeColumn), top, edges.Right(kSizeColumn), bottom);
        Text(dc, row.name, edges.Left(kNameColumn), top, edges.Right(kNameColumn), bottom);
    }
    SelectClipRgn(dc, nullptr);
    if (clip) DeleteObject(clip);
}

}  // namespace tvx
