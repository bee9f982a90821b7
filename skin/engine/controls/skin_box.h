// Panels, tool bars, navigators and embedded forms: the skin only colours
// them (the skin's button face, the old colour back on detach); no handler
// of ours stands in their chain.
#pragma once

#include "skin/engine/controls/skin_control.h"

namespace qh {

class TSkinBox : public TSkinControl {
    QH_CLASS(TSkinBox, TSkinControl)
    explicit TSkinBox(TComponent* owner);
    ~TSkinBox() override;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool background,
                       TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage&) override {}
    void SkinChanged() override;

private:
    TControl* FBox = nullptr;
    TSkinData* FData = nullptr;
    TColor FOldColor = 0;
    bool FColoured = false;
};

} // namespace qh
