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
    if (name != name_) {
        name_ = name;
        Changed();
    }
}

void TFont::SetHeight(int height) {
    if (height != height_) {
        height_ = height;
        Changed();
    }
}

void TFont::SetCharset(int charset) {
    if (charset != charset_) {
        charset_ = charset;
        Changed();
    }
}

void TFont::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        Changed();
    }
}

void TFont::SetStyle(unsigned style) {
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

void TFont::Assign(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    charset_ = other.charset_;
    color_ = other.color_;
    style_ = other.style_;
    Changed();
}

void TFont::Changed() {
    handle_.Reset();
    if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) != 0;
        lf.lfUnderline = (style_ & fsUnderline) != 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        std::wstring face = GbkToWide(name_);
        face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        handle_.Reset(CreateFontIndirectW(&lf));
    }
    return handle_.Get();
}

void TPicture::SetBitmap(const TBitmap& bitmap) {
    bitmap_ = bitmap;
    handle_.Reset();
    if (OnChange) OnChange();
}

HBITMAP TPicture::Handle() const {
    if (!handle_ && !bitmap_.Empty()) {
        TBitmap pixels = bitmap_;
        pixels.SetPixelFormat(TPixelFormat::pf32bit);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = pixels.Width();
        info.bmiHeader.biHeight = -pixels.Height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        handle_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (handle_ && bits)
            for (int y = 0; y < pixels.Height(); ++y)
                std::copy_n(pixels.ScanLine(y), pixels.Width() * 4,
                            static_cast<uint8_t*>(bits) +
                                static_cast<size_t>(y) * pixels.Width() * 4);
    }
    return handle_.Get();
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
    if (!brush_ || color != color_) {
        brush_.Reset(CreateSolidBrush(ColorToRGB(color)));
        color_ = color;
    }
    return brush_.Get();
}

} // namespace qh
