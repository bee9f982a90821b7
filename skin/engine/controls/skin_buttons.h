// The skinned buttons: push buttons (of the class library or known only by
// their window), speed buttons, glyph buttons read through their published
// properties, and the painter under tool bar buttons. Each paints from the
// skin's Button part; a skin without its image leaves the buttons their
// own look.
#pragma once

#include "skin/engine/dib_section.h"
#include "skin/engine/controls/skin_control.h"
#include "toolkit/tool_bar.h"

#include <memory>

namespace qh {

class TSkinButton : public TSkinControl {
    QH_CLASS(TSkinButton, TSkinControl)
    explicit TSkinButton(TComponent* owner);
    ~TSkinButton() override;

    bool FilterMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

protected:
    // The Button part when the skin has its image, else none.
    const TDataSkinButton* Part() const;
    // Whether the skin has the picture this button is painted from.
    virtual bool Skinned() const;
    // The default push button of its dialog or form, as it is now.
    virtual bool IsDefaultButton();
    // The off-screen picture at the given size.
    TDibSection& Picture(int width, int height);
    // What a release on the pressed button does: the control's click, or
    // WM_COMMAND to the parent of a plain window.
    void Click();
    void Hover();

private:
    std::unique_ptr<TDibSection> FPicture;
};

// A push button with a glyph, of any class that publishes "Caption",
// "Default", "Font", "Glyph", "NumGlyphs", "Margin", "Spacing" and "Layout".
class TSkinBitButton : public TSkinButton {
    QH_CLASS(TSkinBitButton, TSkinButton)
    explicit TSkinBitButton(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;

protected:
    bool IsDefaultButton() override;
};

// A speed button: a graphic control, painted on its parent at its bounds
// through the process's scratch bitmap.
class TSkinSpeedButton : public TSkinButton {
    QH_CLASS(TSkinSpeedButton, TSkinButton)
    explicit TSkinSpeedButton(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintNow(HDC dc = nullptr) override;
    void PaintTo(HDC dc, const RECT& rect) override;
};

// The tool bar event of a skinned bar: the skin's button under a pressed,
// hot or focused tool button, while the bar's window wears its skin (its
// frame found anew each time, so a bar that outlives the dressing paints
// nothing); the bar draws the glyph and caption on top, the caption in the
// skin's colour for the state.
void ToolButtonPainter(TToolBar* bar, TToolButton* button, HDC dc, unsigned state,
                       bool& defaultDraw, TColor& textColour);

} // namespace qh
