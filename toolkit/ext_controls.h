// Controls the toolkit paints itself: panels, labels, images, speed
// buttons, bitmap buttons and the tool bar.
#pragma once

#include "toolkit/controls.h"
#include "toolkit/std_controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
extern const TEnumInfo BevelCutEnum;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const TEnumInfo AlignmentEnum;
enum TTextLayout { tlTop, tlCenter, tlBottom };
extern const TEnumInfo TextLayoutEnum;
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumInfo ButtonLayoutEnum;

class TCustomPanel : public TWinControl {
    QH_CLASS(TCustomPanel, TWinControl)
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int width);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);

protected:
    void PaintWindow(HDC dc) override;
    void AdjustClientRect(RECT& rect) override;

private:
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
    QH_CLASS(TPanel, TCustomPanel)
    using TCustomPanel::TCustomPanel;
};

class TCustomLabel : public TGraphicControl {
    QH_CLASS(TCustomLabel, TGraphicControl)
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout layout);
    // Without a background of its own the parent shows through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool wrap);

protected:
    void Paint(HDC dc) override;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FTransparent = false;
    bool FWordWrap = false;
    TBrushCache FBrush;
};

class TLabel : public TCustomLabel {
    QH_CLASS(TLabel, TCustomLabel)
    using TCustomLabel::TCustomLabel;
};

class TImage : public TGraphicControl {
    QH_CLASS(TImage, TGraphicControl)
    explicit TImage(TComponent* owner);

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* picture);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool stretch);
    bool Center() const { return FCenter; }
    void SetCenter(bool center);
    // Leaves out the pixels of the picture's bottom-left colour.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);

protected:
    void Paint(HDC dc) override;

private:
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
};

// Draws a glyph strip image (up, disabled, clicked, down) and a caption
// placed by layout, margin and spacing. Disabled, the strip's disabled image
// is drawn, or an etched shape of the picture when the strip has none, and
// the caption is etched too.
void DrawButtonFace(HDC dc, const RECT& bounds, const TPicture& glyph, int numGlyphs,
                    int glyphIndex, const std::string& caption, HFONT font, COLORREF textColor,
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

class TToolBar;
class TMenuItem;
class TImageList;

// A button of a tool bar, painted by the bar.
class TToolButton : public TGraphicControl {
    QH_CLASS(TToolButton, TGraphicControl)
    explicit TToolButton(TComponent* owner);

    bool Down() const { return FDown; }
    void SetDown(bool down);
    TMenuItem* MenuItem() const { return FMenuItem; }
    void SetMenuItem(TMenuItem* item);
    // The picture of the bar's Images the button shows; -1: none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    bool Pressed() const { return FPressed; }
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FDown = false;
    bool FPressed = false;
    int FImageIndex = -1;
    TMenuItem* FMenuItem = nullptr;
};

// Custom-draw states of a tool button.
enum : unsigned {
    cdsSelected = 1,
    cdsGrayed = 2,
    cdsDisabled = 4,
    cdsFocused = 16,
    cdsDefault = 32,
    cdsHot = 64
};
using TToolBarCustomDrawButtonEvent = std::function<void(
    TToolBar* sender, TToolButton* button, HDC dc, unsigned state, bool& defaultDraw)>;

// Which edges of the tool bar get a border.
enum : unsigned { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };

class TToolBar : public TWinControl {
    QH_CLASS(TToolBar, TWinControl)
    explicit TToolBar(TComponent* owner);

    int EdgeBorders() const { return static_cast<int>(FEdgeBorders); }
    void SetEdgeBorders(int edges);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int height);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int width);
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    TMenuItem* Menu() const { return FMenu; }
    void SetMenu(TMenuItem* menu) { FMenu = menu; }
    // The pictures of the buttons, by their ImageIndex.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);

    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

protected:
    void PaintWindow(HDC dc) override;
    void AdjustClientRect(RECT& rect) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TImageList* FImages = nullptr;
    unsigned FEdgeBorders = ebTop;
    int FButtonHeight = 22;
    int FButtonWidth = 23;
    bool FFlat = false;
    bool FTransparent = false;
    TMenuItem* FMenu = nullptr;
    friend class TToolButton;
};

} // namespace qh
