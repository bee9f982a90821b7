// Labels: captions drawn on the parent.
#pragma once

#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

enum TTextLayout { tlTop, tlCenter, tlBottom };

extern const TEnumInfo TextLayoutEnum;

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

} // namespace qh
