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

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    void PaintWindow(HDC dc) override;
    void AdjustClientRect(RECT& rect) override;

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
    QH_CLASS(TPanel, TCustomPanel)
    using TCustomPanel::TCustomPanel;
};

class TCustomLabel : public TGraphicControl {
    QH_CLASS(TCustomLabel, TGraphicControl)
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    // Without a background of its own the parent shows through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

protected:
    void Paint(HDC dc) override;

private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TBrushCache brush_;
};

class TLabel : public TCustomLabel {
    QH_CLASS(TLabel, TCustomLabel)
    using TCustomLabel::TCustomLabel;
};

class TImage : public TGraphicControl {
    QH_CLASS(TImage, TGraphicControl)
    explicit TImage(TComponent* owner);

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    // Leaves out the pixels of the picture's bottom-left colour.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

protected:
    void Paint(HDC dc) override;

private:
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
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

    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    TPicture* Glyph() const { return glyph_.get(); }
    void SetGlyph(TPicture* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    // With a GroupIndex, a click leaves the button down (and the others of
    // the group up).
    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow) { allowAllUp_ = allow; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    void Click() override;
    // Pressed by the mouse right now.
    bool Pressed() const { return pressed_; }

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc) override;
    void ActionChanged() override;

private:
    bool flat_ = false;
    std::unique_ptr<TPicture> glyph_;
    int numGlyphs_ = 1;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool transparent_ = true;
    bool pressed_ = false;
    TBrushCache brush_;
};

// A push button with a glyph, drawn by the toolkit.
class TBitBtn : public TButton {
    QH_CLASS(TBitBtn, TButton)
    explicit TBitBtn(TComponent* owner);

    TPicture* Glyph() const { return glyph_.get(); }
    void SetGlyph(TPicture* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    std::unique_ptr<TPicture> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

class TToolBar;
class TMenuItem;
class TImageList;

// A button of a tool bar, painted by the bar.
class TToolButton : public TGraphicControl {
    QH_CLASS(TToolButton, TGraphicControl)
    explicit TToolButton(TComponent* owner);

    bool Down() const { return down_; }
    void SetDown(bool down);
    TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(TMenuItem* item);
    // The picture of the bar's Images the button shows; -1: none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool Pressed() const { return pressed_; }
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool down_ = false;
    bool pressed_ = false;
    int imageIndex_ = -1;
    TMenuItem* menuItem_ = nullptr;
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

    int EdgeBorders() const { return static_cast<int>(edgeBorders_); }
    void SetEdgeBorders(int edges);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int height);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int width);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TMenuItem* Menu() const { return menu_; }
    void SetMenu(TMenuItem* menu) { menu_ = menu; }
    // The pictures of the buttons, by their ImageIndex.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

protected:
    void PaintWindow(HDC dc) override;
    void AdjustClientRect(RECT& rect) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TImageList* images_ = nullptr;
    unsigned edgeBorders_ = ebTop;
    int buttonHeight_ = 22;
    int buttonWidth_ = 23;
    bool flat_ = false;
    bool transparent_ = false;
    TMenuItem* menu_ = nullptr;
    friend class TToolButton;
};

} // namespace qh
