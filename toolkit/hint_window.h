// The small window that shows a control's hint next to the mouse pointer.
#pragma once

#include "toolkit/controls.h"

#include <string>

namespace qh {

class THintWindow : public TWinControl {
    QH_CLASS(THintWindow, TWinControl)
    explicit THintWindow(TComponent* owner);

    // Shows the text with its top left corner at the screen point, moved
    // back onto the screen where it would leave it; never activated.
    void ActivateHint(const std::string& text, POINT at);
    void ReleaseHint();
    bool Active() const;
    // The size the text needs, lines broken at a width of their own, at
    // the DPI of the monitor the hint was last shown on.
    SIZE HintSize(const std::wstring& text);
    int CurrentDpi() const override { return FDpi; }

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
    void WndProc(TMessage& message) override;

private:
    HFONT HintFont();
    std::wstring FText;
    TFontHandle FFont;
    int FFontDpi = 0;
    int FDpi = 96;
};

} // namespace qh
