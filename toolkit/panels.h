// Panels: a bevelled surface with a caption.
#pragma once

#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

extern const TEnumInfo BevelCutEnum;

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

} // namespace qh
