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
    // The size the text needs, lines broken at a width of their own.
    SIZE HintSize(const std::wstring& text);

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
    void WndProc(TMessage& message) override;

private:
    HFONT HintFont();
    std::wstring FText;
    TFontHandle FFont;
};

} // namespace qh
