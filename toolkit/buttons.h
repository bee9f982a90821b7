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
    // Check boxes and radio buttons: the check state the system button shows.
    void ShowCheckState(bool checked);
    // A click, or the caption's access key (focusing the button first when
    // focus is set), presses the check: PressCheck runs. Answers whether the
    // message was one of those.
    bool HandleCheckPress(TMessage& message, bool focus);
    virtual void PressCheck() {}
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

class TCustomCheckBox : public TButtonControl {
    QH_CLASS(TCustomCheckBox, TButtonControl)
    explicit TCustomCheckBox(TComponent* owner);

    bool Checked() const { return FChecked; }
    // A change clicks the box, as a press would.
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void ActionChanged() override;
    void PressCheck() override { SetChecked(!FChecked); }

private:
    bool FChecked = false;
};

class TCheckBox : public TCustomCheckBox {
    QH_CLASS(TCheckBox, TCustomCheckBox)
    using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
    QH_CLASS(TRadioButton, TButtonControl)
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    // Checking one turns off the other radio buttons of its parent.
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void PressCheck() override { SetChecked(true); }

private:
    bool FChecked = false;
};

} // namespace qh
