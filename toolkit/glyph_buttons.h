// Buttons with a glyph strip: the speed button (a graphic control) and the bitmap button (an
// owner-drawn system button).
#pragma once

#include "toolkit/layout/glyph_layout.h"
#include "toolkit/buttons.h"
#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

extern const TEnumInfo ButtonLayoutEnum;

// Index of the disabled image in a glyph strip.
inline constexpr int kDisabledGlyphIndex = 1;

// The glyph strip (up, disabled, clicked, down) of a button and where it
// and the caption go, as speed and bitmap buttons publish them.
class TButtonGlyph {
public:
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

    // Draws strip image glyphIndex and the caption on the face. Disabled,
    // the strip's disabled image is drawn, or an etched shape of the
    // picture when the strip has none, and the caption is etched too.
    void DrawFace(HDC dc, const RECT& face, int glyphIndex, const std::string& caption,
                  const TFont& font, bool enabled) const;

protected:
    TButtonGlyph();
    virtual ~TButtonGlyph() = default;
    // The look changed: the button repaints.
    virtual void GlyphChanged() = 0;
    // The margin and spacing at another DPI; the glyph is the owner's to
    // give again, drawn for that DPI.
    void ScaleGlyphFigures(int fromDpi, int toDpi);

private:
    template <class T> void Store(T& field, T value);

    std::unique_ptr<TPicture> FGlyph;
    int FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};

class TSpeedButton : public TGraphicControl, public TButtonGlyph {
    QH_CLASS(TSpeedButton, TGraphicControl)
    explicit TSpeedButton(TComponent* owner);

    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    // With a GroupIndex, a click leaves the button down (and the others of
    // the group up).
    bool Down() const { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index) { FGroupIndex = index; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool allow) { FAllowAllUp = allow; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc) override;
    void ActionChanged() override;
    void GlyphChanged() override { Invalidate(); }
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    bool FFlat = false;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FTransparent = true;
    TBrushCache FBrush;
};

// A push button with a glyph, drawn by the toolkit.
class TBitBtn : public TButton, public TButtonGlyph {
    QH_CLASS(TBitBtn, TButton)
    explicit TBitBtn(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void GlyphChanged() override { Invalidate(); }
    void ChangeScale(int fromDpi, int toDpi) override;
};

} // namespace qh
