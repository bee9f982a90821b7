#include "skin/engine/skin_box.h"

#include "skin/engine/win_skin_form.h"

namespace qh {

QH_DEFINE_CLASS(TSkinBox, TSkinControl)

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool, TCanvas*) {
    if (FBox) return;
    FBox = dynamic_cast<TControl*>(Owner());
    FData = skinData;
    if (!FBox || !skinData) return;
    FOldColor = FBox->Color();
    FColoured = true;
    FBox->SetColor(static_cast<TColor>(skinData->Colours.ButtonFace));
    if (form) form->SkinnedControls().Add(this);
}

void TSkinBox::Detach() {
    if (!FColoured || !FBox) return;
    FColoured = false;
    if (!FBox->HasState(csDestroying)) FBox->SetColor(FOldColor);
}

void TSkinBox::SkinChanged() {
    if (FColoured && FBox && FData) FBox->SetColor(static_cast<TColor>(FData->Colours.ButtonFace));
}

} // namespace qh
