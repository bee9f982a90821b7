#include "toolkit/buttons.h"

#include "toolkit/forms.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"

#include <commctrl.h>
#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TButtonControl, TWinControl)

QH_DEFINE_CLASS(TButton, TButtonControl,
                BoolProp("Default", &TButton::Default, &TButton::SetDefault),
                BoolProp("Cancel", &TButton::Cancel, &TButton::SetCancel),
                IntProp("ModalResult", &TButton::ModalResult, &TButton::SetModalResult))

QH_DEFINE_CLASS(TCheckControl, TButtonControl)

QH_DEFINE_CLASS(TCustomCheckBox, TCheckControl,
                BoolProp("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked))

QH_DEFINE_CLASS(TCheckBox, TCustomCheckBox)

QH_DEFINE_CLASS(TRadioButton, TCheckControl,
                BoolProp("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked))

bool IsAccel(WPARAM key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char c = caption[i + 1];
        return key < 128 &&
               LowerCase(std::string(1, c)) == LowerCase(std::string(1, static_cast<char>(key)));
    }
    return false;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"BUTTON";
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
    if (value == FDefault) return;
    FDefault = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && FModalResult != 0)
        form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGKEY: {
        bool active = FDefault;
        if (TWinControl* focused = FindControl(GetFocus()); focused && focused->Is<TButton>())
            active = focused == this;
        if (((m.WParam == VK_RETURN && active) || (m.WParam == VK_ESCAPE && FCancel)) &&
            Showing() && Enabled()) {
            Click();
            m.Result = 1;
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(m.WParam, Caption()) && Showing() && Enabled()) {
            Click();
            m.Result = 1;
        }
        return;
    default:
        break;
    }
    TButtonControl::WndProc(m);
}

TCheckControl::TCheckControl(TComponent* owner, DWORD buttonStyle, bool focusOnKey)
    : TButtonControl(owner), FButtonStyle(buttonStyle), FFocusOnKey(focusOnKey) {}

void TCheckControl::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= FButtonStyle;
}

void TCheckControl::HandleCreated() {
    StoreChecked(FChecked);
}

bool TCheckControl::StoreChecked(bool checked) {
    const bool changed = checked != FChecked;
    FChecked = checked;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return changed;
}

void TCheckControl::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) PressCheck();
        return;
    }
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccel(m.WParam, Caption()) && Showing() && Enabled()) {
            if (FFocusOnKey) SetFocus();
            PressCheck();
            m.Result = 1;
        }
        return;
    }
    TButtonControl::WndProc(m);
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TCheckControl(owner, BS_CHECKBOX, true) {
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetChecked(bool checked) {
    if (StoreChecked(checked) && !HasState(csLoading)) Click();
}

void TCustomCheckBox::ActionChanged() {
    TCheckControl::ActionChanged();
    if (Action()) StoreChecked(Action()->Checked());
}

TRadioButton::TRadioButton(TComponent* owner) : TCheckControl(owner, BS_RADIOBUTTON, false) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool checked) {
    if (!StoreChecked(checked)) return;
    if (checked) {
        if (TWinControl* parent = Parent())
            for (int i = 0; i < parent->ControlCount(); ++i)
                if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
                    other && other != this)
                    other->SetChecked(false);
        if (!HasState(csLoading)) Click();
    }
}

} // namespace qh
