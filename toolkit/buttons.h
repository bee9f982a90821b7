// Push buttons, check boxes and radio buttons: system buttons with the class library's click and
// accelerator handling.
#pragma once

#include "core/string_list.h"
#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

// Whether a key is the "&" access key of a caption.
bool IsAccel(WPARAM key, const std::string& caption);

class TButtonControl : public TWinControl {
    QH_CLASS(TButtonControl, TWinControl)
    explicit TButtonControl(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

class TButton : public TButtonControl {
    QH_CLASS(TButton, TButtonControl)
    explicit TButton(TComponent* owner);

    // Enter presses the default button, Escape the cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // Given to the form when the button is clicked: it ends ShowModal.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result) { FModalResult = result; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A system button with a check state: check boxes and radio buttons. A
// click, or the caption's access key, presses the check.
class TCheckControl : public TButtonControl {
    QH_CLASS(TCheckControl, TButtonControl)
    // buttonStyle: the BS_ kind; focusOnKey: the access key focuses it first.
    TCheckControl(TComponent* owner, DWORD buttonStyle, bool focusOnKey);

    bool Checked() const { return FChecked; }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    // Stores the state and shows it; false when it was so already.
    bool StoreChecked(bool checked);
    virtual void PressCheck() = 0;

private:
    DWORD FButtonStyle;
    bool FFocusOnKey;
    bool FChecked = false;
};

class TCustomCheckBox : public TCheckControl {
    QH_CLASS(TCustomCheckBox, TCheckControl)
    explicit TCustomCheckBox(TComponent* owner);

    // A change clicks the box, as a press would.
    void SetChecked(bool checked);

protected:
    void ActionChanged() override;
    void PressCheck() override { SetChecked(!Checked()); }
};

class TCheckBox : public TCustomCheckBox {
    QH_CLASS(TCheckBox, TCustomCheckBox)
    using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TCheckControl {
    QH_CLASS(TRadioButton, TCheckControl)
    explicit TRadioButton(TComponent* owner);

    // Checking one turns off the other radio buttons of its parent.
    void SetChecked(bool checked);

protected:
    void PressCheck() override { SetChecked(true); }
};

} // namespace qh
