#include "skin/engine/controls/skin_box.h"

#include "skin/engine/frame/win_skin_form.h"

namespace qh {

QH_DEFINE_CLASS(TSkinBox, TSkinControl)

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

TSkinBox::~TSkinBox() {
    // Freed while on its box (not through the form's detach).
    if (FColoured) Detach();
}

void TSkinBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool, TCanvas*) {
    if (FBox) return;
    FBox = dynamic_cast<TControl*>(Owner());
    FData = skinData;
    if (!FBox || !skinData) return;
    FOldColor = FBox->Color();
    FColoured = true;
    FBox->SetColor(static_cast<TColor>(skinData->Colours.ButtonFace));
    // Bound like the others, so that the form finds the box dressed and
    // its detach gives the colour back.
    AttachWithoutHandler(form, skinData);
}

void TSkinBox::Detach() {
    if (FColoured && FBox) {
        FColoured = false;
        if (!FBox->HasState(csDestroying)) FBox->SetColor(FOldColor);
    }
    TSkinControl::Detach();
}

void TSkinBox::SkinChanged() {
    if (FColoured && FBox && FData) FBox->SetColor(static_cast<TColor>(FData->Colours.ButtonFace));
}

} // namespace qh
