// Fonts, colours and pictures as the controls publish them.
#pragma once

#include "core/properties.h"
#include "images/bitmap.h"
#include "toolkit/win_handle.h"

#include <functional>
#include <string>

namespace qh {

// A system colour is 0x80000000 + the Windows system colour index.
inline constexpr TColor clSystemColor = 0x80000000u;
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
inline constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
inline constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
inline constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
inline constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
inline constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;

// The plain colour a colour value stands for (system colours resolved).
COLORREF ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TPersistent {
    QH_CLASS(TFont, TPersistent)
    TFont() = default;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    int Charset() const { return FCharset; }
    void SetCharset(int charset);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    unsigned Style() const { return FStyle; }
    void SetStyle(unsigned style);
    void Assign(const TFont& other);

    // Made on first use, remade after a change.
    HFONT Handle() const;
    std::function<void()> OnChange;

private:
    void Changed();

    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    int FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    unsigned FStyle = 0;
    mutable TFontHandle FHandle;
};

// A bitmap picture; the pixels live in an images TBitmap, GDI gets a copy
// when it draws.
class TPicture : public TPersistent {
    QH_CLASS(TPicture, TPersistent)
    TPicture() = default;

    const TBitmap& Bitmap() const { return FBitmap; }
    void SetBitmap(const TBitmap& bitmap);
    void Clear() { SetBitmap(TBitmap()); }
    bool Empty() const { return FBitmap.Empty(); }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }

    // Copies the block (sx, sy, w, h) to (x, y); with a transparent colour,
    // its pixels are left out.
    void Draw(HDC dc, int x, int y, int sx, int sy, int w, int h,
              TColor transparent = clNone) const;
    void StretchDraw(HDC dc, const RECT& target) const;
    HBITMAP Handle() const;

    std::function<void()> OnChange;

private:
    TBitmap FBitmap;
    mutable TBitmapHandle FHandle;
};

// A solid brush of a colour value, remade when the colour changes.
class TBrushCache {
public:
    HBRUSH Get(TColor color);

private:
    TColor FColor = clNone;
    TBrushHandle FBrush;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

extern const TEnumInfo AlignmentEnum;

} // namespace qh
