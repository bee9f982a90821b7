// The skinned tab control: the tabs from the skin's Tab part, the page
// under them from its border image, and its own scroll arrows dressed as
// an up-down. Without the part the control keeps its own look.
#pragma once

#include "skin/engine/dib_section.h"
#include "skin/engine/skin_control.h"

#include <memory>

namespace qh {

class TSkinTab : public TSkinControl {
    QH_CLASS(TSkinTab, TSkinControl)
    explicit TSkinTab(TComponent* owner);
    ~TSkinTab() override;

    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                      TCanvas* canvas) override;
    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // The tab under the mouse, or -1.
    int HotTab() const { return FHotTab; }

private:
    const TDataSkinBorder* Part() const;
    void SetHotTab(int index);

    int FHotTab = -1;
    std::unique_ptr<TDibSection> FPicture;
};

// The old-style tab set: its tabs from the Tab part, turned upside down
// as they hang from the notebook's edge, the selected one standing out.
class TSkinTab31 : public TSkinControl {
    QH_CLASS(TSkinTab31, TSkinControl)
    explicit TSkinTab31(TComponent* owner);
    ~TSkinTab31() override;

    bool FilterMessage(TMessage& message) override;
    void PaintTo(HDC dc, const RECT& rect) override;
    int HotTab() const { return FHotTab; }

private:
    void SetHotTab(int index);

    int FHotTab = -1;
    std::unique_ptr<TDibSection> FPicture;
};

} // namespace qh
