// A drawing surface over a device context: the font, brush and pen the
// drawing calls use, wide-text drawing of byte-string captions, and
// drawing of pixel buffers, opaque or with a key colour left out. The
// skin controls share one over whatever context they paint; graphic
// controls get one over their parent's.
#pragma once

#include "images/bitmap.h"
#include "toolkit/graphics.h"
#include "toolkit/win_handle.h"

#include <string>

namespace qh {

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) { SetHandle(dc); }
    ~TCanvas() { SetHandle(nullptr); }
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return FDc; }
    // Takes the canvas's objects out of the old context, leaving it as it
    // was given, and starts over on dc.
    void SetHandle(HDC dc);

    // The font text is drawn with; a copy, so the caller's font is untouched.
    TFont& Font() { return FFont; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor color) { FBrushColor = color; }
    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor color) { FPenColor = color; }
    // Text over the background, or (the default) over what is already drawn.
    void SetTextOpaque(bool opaque) { FTextOpaque = opaque; }

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    void TextOut(int x, int y, const std::wstring& text);
    // A byte-string (code page 936) caption laid out by DrawTextW.
    void TextRect(RECT r, const std::string& text, UINT format);
    // The same caption etched, as the system draws disabled text: a
    // highlight copy one pixel down and right, the text in the shadow colour.
    void EtchedTextRect(RECT r, const std::string& text, UINT format);
    void EtchedTextOut(int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);

    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const RECT& target, const TBitmap& bitmap);
    // The w x h block at (sx, sy) of bitmap, pixels of key colour left out.
    void DrawTransparent(int x, int y, const TBitmap& bitmap, int sx, int sy, int w, int h,
                         TColor key);

private:
    void SelectFont();
    void SelectBrush();
    void SelectPen();

    HDC FDc = nullptr;
    TFont FFont;
    TColor FBrushColor = clWhite;
    TColor FPenColor = clBlack;
    bool FTextOpaque = false;
    // What the context held before the canvas put its own in.
    HGDIOBJ FOldFont = nullptr;
    HGDIOBJ FOldBrush = nullptr;
    HGDIOBJ FOldPen = nullptr;
    TBrushHandle FBrush;
    TUniqueHandle<HPEN, TGdiFree> FPen;
};

// The pixels of a bitmap as GDI reads them: 32 bits, top-down.
BITMAPINFO DibInfo(const TBitmap& bitmap);

} // namespace qh
