// The skinned tab control and the old-style tab set: the tabs from the
// skin's Tab part, the hot one following the mouse. Without the part they
// keep their own look.
#pragma once

#include "skin/engine/controls/skin_bars.h"

namespace qh {

// What both share: painted wholly while the skin has the Tab part, and the
// tab under the mouse.
class TSkinTabRow : public TSkinPaintedControl {
    QH_CLASS(TSkinTabRow, TSkinPaintedControl)
    explicit TSkinTabRow(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    // The tab under the mouse, or -1.
    int HotTab() const { return FHotTab; }

protected:
    const TDataSkinBorder* Part() const;
    bool HasPart() const override { return Part() != nullptr; }
    // The tab at a client point, or -1.
    virtual int TabAtPoint(POINT p) = 0;

private:
    void SetHotTab(int index);

    int FHotTab = -1;
};

// The tab control: its page under the tabs from the part's border image,
// and its own scroll arrows dressed as an up-down.
class TSkinTab : public TSkinTabRow {
    QH_CLASS(TSkinTab, TSkinTabRow)
    explicit TSkinTab(TComponent* owner);

    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                      TCanvas* canvas) override;
    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

protected:
    int TabAtPoint(POINT p) override;
};

// The old-style tab set: the part's images turned upside down as the tabs
// hang from the notebook's edge, the selected one standing out.
class TSkinTab31 : public TSkinTabRow {
    QH_CLASS(TSkinTab31, TSkinTabRow)
    explicit TSkinTab31(TComponent* owner);

    void PaintTo(HDC dc, const RECT& rect) override;

protected:
    bool HasPart() const override;
    int TabAtPoint(POINT p) override;
};

} // namespace qh
