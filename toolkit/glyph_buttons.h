// Buttons with a glyph strip: the speed button (a graphic control) and the bitmap button (an
// owner-drawn system button).
#pragma once

#include "toolkit/buttons.h"
#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

extern const TEnumInfo ButtonLayoutEnum;

// Draws a glyph strip image (up, disabled, clicked, down) and a caption
// placed by layout, margin and spacing. Disabled, the strip's disabled image
// is drawn, or an etched shape of the picture when the strip has none, and
// the caption is etched too.
void DrawButtonFace(HDC dc, const RECT& bounds, const TPicture& glyph, int numGlyphs,
                    int glyphIndex, const std::string& caption, const TFont& font,
                    TButtonLayout layout, int margin, int spacing, bool enabled = true);

// Index of the disabled image in a glyph strip.
inline constexpr int kDisabledGlyphIndex = 1;

class TSpeedButton : public TGraphicControl {
    QH_CLASS(TSpeedButton, TGraphicControl)
    explicit TSpeedButton(TComponent* owner);

    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    TPicture* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TPicture* glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    // With a GroupIndex, a click leaves the button down (and the others of
    // the group up).
    bool Down() const { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index) { FGroupIndex = index; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool allow) { FAllowAllUp = allow; }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return FMargin; }
    void SetMargin(int margin);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int spacing);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    void Click() override;
    // Pressed by the mouse right now.
    bool Pressed() const { return FPressed; }

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc) override;
    void ActionChanged() override;

private:
    bool FFlat = false;
    std::unique_ptr<TPicture> FGlyph;
    int FNumGlyphs = 1;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FTransparent = true;
    bool FPressed = false;
    TBrushCache FBrush;
};

// A push button with a glyph, drawn by the toolkit.
class TBitBtn : public TButton {
    QH_CLASS(TBitBtn, TButton)
    explicit TBitBtn(TComponent* owner);

    TPicture* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TPicture* glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return FMargin; }
    void SetMargin(int margin);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int spacing);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    std::unique_ptr<TPicture> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};

} // namespace qh
