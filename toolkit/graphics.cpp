#include "toolkit/graphics.h"

#include "core/gbk.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TFont, TPersistent, StrProp("Name", &TFont::Name, &TFont::SetName),
                IntProp("Height", &TFont::Height, &TFont::SetHeight),
                IntProp("Charset", &TFont::Charset, &TFont::SetCharset),
                IntProp("Color", &TFont::Color, &TFont::SetColor))
QH_DEFINE_CLASS(TPicture, TPersistent)

COLORREF ColorToRGB(TColor color) {
    if (color & clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

void TFont::SetName(const std::string& name) {
    if (name != FName) {
        FName = name;
        Changed();
    }
}

void TFont::SetHeight(int height) {
    if (height != FHeight) {
        FHeight = height;
        Changed();
    }
}

void TFont::SetCharset(int charset) {
    if (charset != FCharset) {
        FCharset = charset;
        Changed();
    }
}

void TFont::SetColor(TColor color) {
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}

void TFont::SetStyle(unsigned style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}

void TFont::Assign(const TFont& other) {
    FName = other.FName;
    FHeight = other.FHeight;
    FCharset = other.FCharset;
    FColor = other.FColor;
    FStyle = other.FStyle;
    Changed();
}

void TFont::Changed() {
    FHandle.Reset();
    if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTW lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) != 0;
        lf.lfUnderline = (FStyle & fsUnderline) != 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
        lf.lfCharSet = static_cast<BYTE>(FCharset);
        std::wstring face = GbkToWide(FName);
        face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        FHandle.Reset(CreateFontIndirectW(&lf));
    }
    return FHandle.Get();
}

void TPicture::SetBitmap(const TBitmap& bitmap) {
    FBitmap = bitmap;
    FHandle.Reset();
    if (OnChange) OnChange();
}

HBITMAP TPicture::Handle() const {
    if (!FHandle && !FBitmap.Empty()) {
        TBitmap pixels = FBitmap;
        pixels.SetPixelFormat(TPixelFormat::pf32bit);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = pixels.Width();
        info.bmiHeader.biHeight = -pixels.Height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        FHandle.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (FHandle && bits)
            for (int y = 0; y < pixels.Height(); ++y)
                std::copy_n(pixels.ScanLine(y), pixels.Width() * 4,
                            static_cast<uint8_t*>(bits) +
                                static_cast<size_t>(y) * pixels.Width() * 4);
    }
    return FHandle.Get();
}

void TPicture::Draw(HDC dc, int x, int y, int sx, int sy, int w, int h, TColor transparent) const {
    HBITMAP bmp = Handle();
    if (!bmp || w <= 0 || h <= 0) return;
    TMemoryDC mem(dc);
    TSelectObject select(mem.Get(), bmp);
    if (transparent == clNone)
        BitBlt(dc, x, y, w, h, mem.Get(), sx, sy, SRCCOPY);
    else
        TransparentBlt(dc, x, y, w, h, mem.Get(), sx, sy, w, h, ColorToRGB(transparent));
}

void TPicture::StretchDraw(HDC dc, const RECT& target) const {
    HBITMAP bmp = Handle();
    if (!bmp) return;
    TMemoryDC mem(dc);
    TSelectObject select(mem.Get(), bmp);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
               mem.Get(), 0, 0, Width(), Height(), SRCCOPY);
}

HBRUSH TBrushCache::Get(TColor color) {
    if (!FBrush || color != FColor) {
        FBrush.Reset(CreateSolidBrush(ColorToRGB(color)));
        FColor = color;
    }
    return FBrush.Get();
}

const TEnumInfo AlignmentEnum{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};

} // namespace qh
