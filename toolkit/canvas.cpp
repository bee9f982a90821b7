#include "toolkit/canvas.h"

#include "core/gbk.h"

namespace qh {

void TCanvas::SetHandle(HDC dc) {
    if (FDc) {
        if (FOldFont) SelectObject(FDc, FOldFont);
        if (FOldBrush) SelectObject(FDc, FOldBrush);
        if (FOldPen) SelectObject(FDc, FOldPen);
    }
    FOldFont = FOldBrush = FOldPen = nullptr;
    FBrush.Reset();
    FPen.Reset();
    FDc = dc;
}

void TCanvas::SelectFont() {
    HGDIOBJ old = SelectObject(FDc, FFont.Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FDc, ColorToRGB(FFont.Color()));
    SetBkMode(FDc, FTextOpaque ? OPAQUE : TRANSPARENT);
    if (FTextOpaque) SetBkColor(FDc, ColorToRGB(FBrushColor));
}

void TCanvas::SelectBrush() {
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(FBrushColor)));
    HGDIOBJ old = SelectObject(FDc, brush.Get());
    if (!FOldBrush) FOldBrush = old;
    FBrush = std::move(brush);
}

void TCanvas::SelectPen() {
    TUniqueHandle<HPEN, TGdiFree> pen(CreatePen(PS_SOLID, 1, ColorToRGB(FPenColor)));
    HGDIOBJ old = SelectObject(FDc, pen.Get());
    if (!FOldPen) FOldPen = old;
    FPen = std::move(pen);
}

void TCanvas::FillRect(const RECT& r) {
    SelectBrush();
    ::FillRect(FDc, &r, FBrush.Get());
}

void TCanvas::FrameRect(const RECT& r) {
    SelectBrush();
    ::FrameRect(FDc, &r, FBrush.Get());
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(FDc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    SelectPen();
    ::LineTo(FDc, x, y);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    SelectFont();
    ::TextOutW(FDc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(RECT r, const std::string& text, UINT format) {
    if (text.empty()) return;
    SelectFont();
    std::wstring wide = GbkToWide(text);
    DrawTextW(FDc, wide.c_str(), static_cast<int>(wide.size()), &r, format);
}

void TCanvas::EtchedTextRect(RECT r, const std::string& text, UINT format) {
    const TColor colour = FFont.Color();
    RECT lower = r;
    OffsetRect(&lower, 1, 1);
    FFont.SetColor(clSystemColor | COLOR_BTNHIGHLIGHT);
    TextRect(lower, text, format);
    FFont.SetColor(clSystemColor | COLOR_BTNSHADOW);
    TextRect(r, text, format);
    FFont.SetColor(colour);
}

void TCanvas::EtchedTextOut(int x, int y, const std::wstring& text) {
    const TColor colour = FFont.Color();
    FFont.SetColor(clSystemColor | COLOR_BTNHIGHLIGHT);
    TextOut(x + 1, y + 1, text);
    FFont.SetColor(clSystemColor | COLOR_BTNSHADOW);
    TextOut(x, y, text);
    FFont.SetColor(colour);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    SelectFont();
    SIZE size{0, 0};
    GetTextExtentPoint32W(FDc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

BITMAPINFO DibInfo(const TBitmap& bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitmap.BytesPerPixel() * 8);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    StretchDraw(RECT{x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void TCanvas::StretchDraw(const RECT& target, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    BITMAPINFO info = DibInfo(bitmap);
    SetStretchBltMode(FDc, COLORONCOLOR);
    StretchDIBits(FDc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, 0, 0, bitmap.Width(), bitmap.Height(),
                  bitmap.ScanLine(0), &info, DIB_RGB_COLORS, SRCCOPY);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap, int sx, int sy, int w, int h,
                              TColor key) {
    if (bitmap.Empty() || w <= 0 || h <= 0) return;
    BITMAPINFO info = DibInfo(bitmap);
    void* bits = nullptr;
    TBitmapHandle dib(CreateDIBSection(FDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return;
    SetDIBits(FDc, dib.Get(), 0, bitmap.Height(), bitmap.ScanLine(0), &info, DIB_RGB_COLORS);
    TMemoryDC mem(FDc);
    TSelectObject select(mem.Get(), dib.Get());
    TransparentBlt(FDc, x, y, w, h, mem.Get(), sx, sy, w, h, ColorToRGB(key));
}

} // namespace qh
