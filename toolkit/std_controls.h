// Wrappers over the system's standard controls.
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

private:
    bool FChecked = false;
};

class TCustomGroupBox : public TWinControl {
    QH_CLASS(TCustomGroupBox, TWinControl)
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(RECT& rect) override;
};

class TGroupBox : public TCustomGroupBox {
    QH_CLASS(TGroupBox, TCustomGroupBox)
    using TCustomGroupBox::TCustomGroupBox;
};

// A group box of radio buttons made from its item texts.
class TCustomRadioGroup : public TCustomGroupBox {
    QH_CLASS(TCustomRadioGroup, TCustomGroupBox)
    explicit TCustomRadioGroup(TComponent* owner);

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    TRadioButton* Buttons(int index) const;
    TNotifyEvent OnChange;

protected:
    void AdjustClientRect(RECT& rect) override;

private:
    void ArrangeButtons();
    std::vector<std::string> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    QH_CLASS(TRadioGroup, TCustomRadioGroup)
    using TCustomRadioGroup::TCustomRadioGroup;
};

class TCustomEdit : public TWinControl {
    QH_CLASS(TCustomEdit, TWinControl)
    explicit TCustomEdit(TComponent* owner);

    // The text is the control's caption.
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    // Without it the box has a flat single border instead of a sunken edge.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    bool FReadOnly = false;
    int FMaxLength = 0;
    bool FCtl3D = true;
};

class TEdit : public TCustomEdit {
    QH_CLASS(TEdit, TCustomEdit)
    using TCustomEdit::TCustomEdit;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumInfo ScrollStyleEnum;

class TCustomMemo : public TCustomEdit {
    QH_CLASS(TCustomMemo, TCustomEdit)
    explicit TCustomMemo(TComponent* owner);

    // The text as lines (CR LF between them).
    TStringList Lines() const;
    void SetLines(const TStringList& lines);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    // Keeps Enter for new lines, but leaves Tab and Escape to the form.
    void WndProc(TMessage& message) override;

private:
    TScrollStyle FScrollBars = ssNone;
};

class TMemo : public TCustomMemo {
    QH_CLASS(TMemo, TCustomMemo)
    using TCustomMemo::TCustomMemo;
};

// A list of texts that a list or combo box shows.
class TItemsControl : public TWinControl {
    QH_CLASS(TItemsControl, TWinControl)
    explicit TItemsControl(TComponent* owner);

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    TNotifyEvent OnChange;

protected:
    void HandleCreated() override;
    // The messages of the system control: add a string, select, read the
    // selection.
    UINT FAddMessage = 0, FResetMessage = 0, FSetSelMessage = 0, FGetSelMessage = 0;
    int FItemIndex = -1;

private:
    std::vector<std::string> FItems;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
extern const TEnumInfo ComboBoxStyleEnum;

class TCustomComboBox : public TItemsControl {
    QH_CLASS(TCustomComboBox, TItemsControl)
    explicit TCustomComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TComboBoxStyle FStyle = csDropDown;
};

class TComboBox : public TCustomComboBox {
    QH_CLASS(TComboBox, TCustomComboBox)
    using TCustomComboBox::TCustomComboBox;
};

class TCustomListBox : public TItemsControl {
    QH_CLASS(TCustomListBox, TItemsControl)
    explicit TCustomListBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

class TListBox : public TCustomListBox {
    QH_CLASS(TListBox, TCustomListBox)
    using TCustomListBox::TCustomListBox;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumInfo ScrollBarKindEnum;

class TScrollBar : public TWinControl {
    QH_CLASS(TScrollBar, TWinControl)
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    // Keeps min <= position <= max.
    void SetParams(int position, int min, int max);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int v) { FLargeChange = v; }
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FLargeChange = 1;
};

} // namespace qh
